#include "core/text/SystemErrorText.h"

#include <cerrno>

namespace ketrilo {

std::string SystemErrorText(int error) {
    switch (error) {
    case ENOENT:
        return "ファイルまたはフォルダがありません";
    case EACCES:
        return "アクセスが拒否されました";
    case EPERM:
        return "この操作は許可されていません";
    case ENOTDIR:
        return "途中の名前がフォルダではありません";
    case EISDIR:
        return "フォルダです";
    case ELOOP:
        return "シンボリックリンクがループしています";
    case ENAMETOOLONG:
        return "名前が長すぎます";
    case EEXIST:
        return "同じ名前のものがすでにあります";
    case ENOSPC:
        return "ディスクに空きがありません";
    case EDQUOT:
        return "ディスク使用量の上限を超えます";
    case EROFS:
        return "読み取り専用のファイルシステムです";
    case EIO:
        return "入出力エラーです";
    case EBUSY:
        return "使用中です";
    case EXDEV:
        return "別のファイルシステムへは移せません";
    case EMFILE:
    case ENFILE:
        return "開いているファイルが多すぎます";
    case ENOMEM:
        return "メモリが足りません";
    default:
        return "システムエラー " + std::to_string(error);
    }
}

} // namespace ketrilo
