#include "core/image/DiscImageStatus.h"

#include "core/text/Numbers.h"

#include <algorithm>

namespace ketrilo {

std::vector<ImageItem> ImageItemsOf(const Well& well) {
    std::vector<ImageItem> items;
    items.reserve(well.Rows().size());
    for (const WellRow& row : well.Rows())
        items.push_back(ImageItem{row.name, row.FullPath()});
    return items;
}

int64_t ImageRemainingSectors(int64_t imageSectors, int64_t capacityClusters) {
    // A sector and a cluster are both 2048 bytes; no disc holds more than an image can number.
    return std::min(capacityClusters, MaxImageSectors) - imageSectors;
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
                "xorriso・Xfburn は拡張子を残して65文字に、genisoimage は64文字に切ります "
                "(拡張子も切られます)。Brasero は Joliet を付けずに書くか名前を変えます"};
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
                "そのまま書き込みます。Rock Ridge (Linux・macOS) と Joliet (Windows) では"
                "見えますが、ISO 9660 だけを読む環境では見えないことがあります"};
    case ImageFindingKind::PathTooLong:
        return {"path-too-long", "パスが255バイトを超えています",
                "そのまま書き込みます。Rock Ridge (Linux・macOS) では見えますが、ISO 9660 "
                "だけを読む環境では見えないことがあります"};
    case ImageFindingKind::JolietPathTooLong:
        return {"joliet-path-too-long",
                "Windows で見えるパスが長すぎます (Joliet のパスが240バイトを超えます)",
                "xorriso・Xfburn・Brasero (libisofs) は Joliet から外します: Windows では"
                "その下も含めて見えません。Rock Ridge (Linux・macOS) では見えます"};
    case ImageFindingKind::NameNotUtf8:
        return {"name-not-utf8", "名前に UTF-8 でないバイトがあります",
                "xorriso・Xfburn は Windows で見える名前のそのバイトを「_」に替え、Brasero は"
                "名前を変え、genisoimage は書き込みを中止します"};
    case ImageFindingKind::FileTooLarge:
        return {"file-too-large", "429,496,524,800バイト (約400 GiB) を超えるファイルです",
                "xorriso・Xfburn・Brasero (libisofs) は書き込みを拒みます: このイメージは"
                "作れません"};
    case ImageFindingKind::Unreadable:
        return {"unreadable", "読み取りの権限がありません",
                "同じユーザーで動く書き込みソフトも読めず、書き込みを中止します"};
    case ImageFindingKind::Refused:
        return {"refused", "書き込みソフトのライブラリ (libisofs) が受け付けません",
                "イメージに入りません (大きさはこの項目を除いて計算しています)"};
    }
    return {"unknown", "", ""};
}

} // namespace

const char* LongNameAdvice(bool inLongNameList) {
    return inLongNameList ? "長い名前のリストで直せます (ダブルクリック)"
                          : "長い名前のリストにはありません: ファイルの名前を変えるか、"
                            "項目をウェルから外してドロップし直すと長い名前のリストに入ります";
}

bool ImageCanBeMade(const ImageReport& report) {
    return std::none_of(
        report.findings.begin(), report.findings.end(),
        [](const ImageFinding& finding) { return finding.kind == ImageFindingKind::FileTooLarge; });
}

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
