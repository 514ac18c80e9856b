#include "ImageStatus.h"

#include "Numbers.h"

namespace ketrilo {

std::vector<ImageItem> ImageItemsOf(const Well& well) {
    std::vector<ImageItem> items;
    items.reserve(well.Rows().size());
    for (const WellRow& row : well.Rows())
        items.push_back(ImageItem{row.name, row.FullPath()});
    return items;
}

int64_t ImageRemainingSectors(int64_t imageSectors, int64_t capacityClusters) {
    return capacityClusters - imageSectors; // a sector and a cluster are both 2048 bytes
}

std::string ImageStatusText(int64_t imageSectors, int64_t capacityClusters) {
    const int64_t remaining = ImageRemainingSectors(imageSectors, capacityClusters);
    std::string text = "イメージ:" + FormatThousands(imageSectors) +
                       "セクタ 残り:" + FormatThousands(remaining) + "セクタ";
    if (remaining < 0)
        text += "(" + FormatThousands(BytesOnDisc(remaining)) + "バイト) 入りません";
    return text;
}

int64_t TintRemainingBytes(int64_t clustersRemainingBytes,
                           std::optional<int64_t> imageRemainingSectors) {
    if (imageRemainingSectors && *imageRemainingSectors < 0)
        return BytesOnDisc(*imageRemainingSectors);
    return clustersRemainingBytes;
}

namespace {

struct FindingWords {
    const char* keyword;
    const char* reason;
    const char* action;
};

FindingWords WordsFor(ImageFindingKind kind) {
    switch (kind) {
    case ImageFindingKind::JolietNameTooLong:
        return {"joliet-name-too-long", "名前が64文字を超えています (Windows で見える名前)",
                "65文字目から後を切り捨てます (長い名前のリストで直せます)"};
    case ImageFindingKind::JolietCharacter:
        return {"joliet-character", "Windows で使えない文字 (* / : ; ? \\ や制御文字) があります",
                "その文字を「_」に置き換えます"};
    case ImageFindingKind::JolietNameCollision:
        return {"joliet-name-collision", "64文字に切ると同じフォルダの別の名前と同じになります",
                "名前の末尾を番号に変えて区別します"};
    case ImageFindingKind::RootNameCollision:
        return {"root-name-collision", "ウェルに同じ名前の項目がほかにもあります",
                "フォルダは一つにまとめ、ファイルは後の項目で置き換えるか書き込みを拒みます"};
    case ImageFindingKind::FileOver4GiB:
        return {"file-over-4gib", "4 GiB 以上のファイルです",
                "ISO レベル3 か UDF で書き込みます (既定で拒むソフトもあります)"};
    case ImageFindingKind::PathTooDeep:
        return {"path-too-deep", "フォルダの階層が8段を超えています",
                "そのまま書き込みますが、Rock Ridge を読まない環境では見えません"};
    case ImageFindingKind::PathTooLong:
        return {"path-too-long", "パスが255バイトを超えています",
                "そのまま書き込みますが、Rock Ridge を読まない環境では見えません"};
    }
    return {"unknown", "", ""};
}

} // namespace

const char* ImageFindingKeyword(ImageFindingKind kind) {
    return WordsFor(kind).keyword;
}

const char* ImageFindingReason(ImageFindingKind kind) {
    return WordsFor(kind).reason;
}

const char* ImageFindingAction(ImageFindingKind kind) {
    return WordsFor(kind).action;
}

} // namespace ketrilo
