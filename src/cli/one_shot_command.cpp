// The one-shot forms: swap two names, name a file after its digest, give it a random name.
// What the program would show in a message box goes to stderr.

#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/terminal.h"
#include "core/app/one_shot.h"
#include "core/text/utf.h"

namespace soramine::cli {

int runOneShot(const Args& argsIncludingFormWord) {
    std::vector<std::u16string> args;
    for (const std::string& a : argsIncludingFormWord)
        args.push_back(text::fromUtf8(a));
    const app::OneShotOutcome outcome = app::runOneShot(args);
    if (outcome.message) {
        printError(outcome.message->text);
    } else if (outcome.status == app::OneShotStatus::BadArguments) {
        printError(
            u"使い方: soramine-cli C ファイル1 ファイル2\n"
            u"        soramine-cli /h /c|/m|/s ファイル   (CRC32, MD5, SHA-1 の値を名前にする)\n"
            u"        soramine-cli /r 文字数(1-255) ファイル   (ランダムな名前にする)");
    }
    switch (outcome.status) {
        case app::OneShotStatus::Done:
            return 0;
        case app::OneShotStatus::RenameFailed:
            return 1;
        case app::OneShotStatus::BadArguments:
            return 2;
    }
    return 2;
}

}  // namespace soramine::cli
