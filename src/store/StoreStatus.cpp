// StoreStatus: Japanese descriptions of store failures, shared by the window and the command line.
#include "StoreStatus.h"

#include <cerrno>

namespace zentrix {

std::string DescribeSystemError(int err)
{
    switch (err) {
    case 0:
        return {};
    case EACCES:
    case EPERM:
        return "アクセスが許可されていません";
    case EROFS:
        return "読み取り専用のファイルシステムです";
    case ENOSPC:
        return "ディスクの空き容量が不足しています";
    case EDQUOT:
        return "ディスク使用量の上限に達しました";
    case EFBIG:
        return "ファイルサイズの上限に達しました";
    case ENOENT:
        return "フォルダが見つかりません";
    case EISDIR:
        return "同じ名前のフォルダがあります";
    case EIO:
        return "入出力エラーが発生しました";
    case ENOTDIR:
        return "途中のパスがフォルダではありません";
    case ENAMETOOLONG:
        return "パスが長すぎます";
    case ELOOP:
        return "シンボリックリンクが循環しています";
    case EMFILE:
    case ENFILE:
        return "開いているファイルが多すぎます";
    case EBUSY:
    case ETXTBSY:
        return "ファイルが使用中です";
    case EAGAIN:
        return "他のプログラムがファイルの同じ場所を使い続けています";
    case ENXIO:
        return "ソケットなどの特殊なファイルで、開けません";
    case ENOMEM:
        return "メモリが不足しています";
    default:
        return "システムエラー（エラー番号 " + std::to_string(err) + "）";
    }
}

std::string DescribeStoreError(const StoreStatus& status, const std::string& fileName)
{
    std::string text;
    switch (status.error) {
    case StoreError::None:
        return {};
    case StoreError::NotOpen:
        text = "データファイル「" + fileName + "」が開かれていません。";
        break;
    case StoreError::OpenFailed:
        text = "データファイル「" + fileName + "」を開けませんでした。";
        break;
    case StoreError::NotRegularFile:
        text = "「" + fileName + "」は通常のファイルではないため、データファイルとして開けません。";
        break;
    case StoreError::InUse:
        // Either program may hold it: the window for as long as it runs, a command for a moment.
        text = "データファイル「" + fileName +
               "」は他の Zentrix か zentrix-cli が使用中です。使い終わってからもう一度試して下さい。";
        break;
    case StoreError::OutOfRange:
        text = "データファイル「" + fileName + "」に第" + std::to_string(status.record) +
               "回のレコードはありません。";
        break;
    case StoreError::ReadFailed:
        text = "データファイル「" + fileName + "」の第" + std::to_string(status.record) +
               "回を読み込めませんでした。";
        break;
    case StoreError::WriteFailed:
        text = "データファイル「" + fileName + "」の第" + std::to_string(status.record) +
               "回を書き込めませんでした。データは変更されていません。";
        break;
    case StoreError::TooLarge:
        text = "データファイル「" + fileName +
               "」は当選番号のデータファイルとして大きすぎます（最新の記録が第" +
               std::to_string(status.record) + "回、扱えるのは第" + std::to_string(kMaxStoredDraws) +
               "回まで）。壊れているか、別の種類のファイルです。";
        break;
    case StoreError::Moved:
        text = "データファイル「" + fileName + "」が開く間に何度も置き換えられたため、開けませんでした。";
        break;
    case StoreError::OwnerNotKept:
        text = "データファイル「" + fileName +
               "」の所有者とグループを新しいファイルに引き継げないため、書き換えませんでした。"
               "データは変更されていません。";
        break;
    }
    // For a file in use the lock's own errno (EWOULDBLOCK) adds nothing to the message.
    if (status.error == StoreError::InUse)
        return text;
    if (const std::string reason = DescribeSystemError(status.systemError); !reason.empty())
        text += "\n（理由：" + reason + "）";
    return text;
}

} // namespace zentrix
