#include <cerrno>
#include <cstring>

#include "core/platform/fs.h"
#include "core/text/utf.h"

namespace soramine::platform {
namespace {

// Japanese texts for the errors a rename, copy or move meets most, so that the log reads in
// the product's language whatever messages the system has installed.
const char16_t* japaneseText(int code) {
    switch (code) {
        case EEXIST:
        case ENOTEMPTY:
            return u"既に存在するファイルを作成することはできません。";
        case ENOENT:
            return u"指定されたファイルが見つかりません。";
        case EACCES:
        case EPERM:
            return u"アクセスが拒否されました。";
        case EROFS:
            return u"メディアは書き込み禁止になっています。";
        case ENAMETOOLONG:
            return u"ファイル名または拡張子が長すぎます。";
        case EINVAL:
            return u"パラメーターが間違っています。";
        case EILSEQ:
            return u"ファイル名、ディレクトリ名、またはボリューム ラベルの構文が間違っています。";
        case EBUSY:
        case ETXTBSY:
            return u"プロセスはファイルにアクセスできません。別のプロセスが使用中です。";
        case ENOSPC:
            return u"ディスクに十分な空き領域がありません。";
        case EXDEV:
            return u"システムはファイルを異なるディスク ドライブに移動できません。";
        case ENOTDIR:
            return u"ディレクトリ名が無効です。";
        case EISDIR:
            return u"指定されたパスはフォルダーです。";
        case ENOTSUP:
            return u"この要求はサポートされていません。";
        case EIO:
            return u"I/O デバイス エラーが発生したため、要求を実行できませんでした。";
        default:
            return nullptr;
    }
}

}  // namespace

std::u16string systemErrorText(OsError e) {
    if (const char16_t* own = japaneseText(e.code))
        return own;
    char buffer[256];
    const char* text = ::strerror_r(e.code, buffer, sizeof buffer);  // GNU: may not use buffer
    std::u16string out = text::fromUtf8(text ? text : "");
    for (char16_t& c : out) {
        if (c == u'\r' || c == u'\n')
            c = u' ';
    }
    return out;
}

}  // namespace soramine::platform
