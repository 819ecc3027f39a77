#include "core/app/send_to.h"

#include "core/platform/desktop.h"
#include "core/text/utf.h"

namespace soramine::app {
namespace {

struct ActionText {
    const char* id;           // in file names and in the mark of our files
    const char* caption;      // what the file manager lists
    const char* description;  // what the action does
    const char* argument;     // before the files ("" for none)
    const char* mimeTypes;    // what Dolphin offers it for
    int urlCount;             // how many files Dolphin asks for (0: any)
};

const ActionText& textOf(SendToAction action) {
    static const ActionText import{
        "import", "ソラミネ(取り込み)", "ファイルをリストに取り込みます。", "", "all/all;", 0};
    static const ActionText swap{"swap", "ソラミネ(入れ替え)", "ファイル名を入れ替えます。",
                                 "C",    "all/allfiles;",      2};
    return action == SendToAction::Import ? import : swap;
}

// The mark our files carry, which deletion looks for.
std::string markOf(const ActionText& t) {
    return std::string("X-Soramine-Action=") + t.id;
}

// The program as a quoted argument of a desktop entry's Exec key, with the key's own escapes.
std::string execArgument(std::u16string_view program) {
    std::string quoted = "\"";
    for (char c : text::toUtf8(program)) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        if (c == '%')
            quoted += '%';
        quoted += c;
    }
    quoted += '"';
    std::string escaped;
    for (char c : quoted) {
        if (c == '\\')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

// The program as a single-quoted shell word.
std::string shellWord(std::u16string_view program) {
    std::string word = "'";
    for (char c : text::toUtf8(program)) {
        if (c == '\'')
            word += "'\\''";
        else
            word += c;
    }
    return word + "'";
}

std::string serviceMenu(const ActionText& t, std::u16string_view program) {
    std::string exec = execArgument(program);
    if (*t.argument)
        exec += std::string(" ") + t.argument;
    std::string s = "[Desktop Entry]\nType=Service\nMimeType=" + std::string(t.mimeTypes) +
                    "\nActions=soramine_" + t.id + ";\n" + markOf(t) + "\n";
    if (t.urlCount)
        s += "X-KDE-RequiredNumberOfUrls=" + std::to_string(t.urlCount) + "\n";
    s += "\n[Desktop Action soramine_" + std::string(t.id) + "]\nName=" + t.caption +
         "\nComment=" + t.description + "\nIcon=org.example.soramine\nExec=" + exec + " %F\n";
    return s;
}

std::string script(const ActionText& t, std::u16string_view program) {
    std::string exec = "exec " + shellWord(program);
    if (*t.argument)
        exec += std::string(" ") + t.argument;
    return "#!/bin/sh\n# " + std::string(t.description) + "\n# " + markOf(t) + "\n" + exec +
           " \"$@\"\n";
}

std::optional<Message> failure(const char16_t* headline, std::u16string_view path,
                               platform::OsError error) {
    return errorMessage(std::u16string(headline) + u"\r\n" + std::u16string(path) + u"\r\n" +
                        platform::systemErrorText(error));
}

}  // namespace

std::vector<SendToFile> sendToFiles(SendToAction action, std::u16string_view program,
                                    std::u16string_view dataHome) {
    const ActionText& t = textOf(action);
    const std::u16string home(dataHome);
    return {
        {home + u"kio/servicemenus/soramine-" + text::fromUtf8(t.id) + u".desktop",
         serviceMenu(t, program), true},
        {home + u"nautilus/scripts/" + text::fromUtf8(t.caption), script(t, program), true},
    };
}

std::optional<Message> createSendTo(SendToAction action, std::u16string_view program,
                                    std::u16string_view dataHome) {
    for (const SendToFile& file : sendToFiles(action, program, dataHome)) {
        const platform::Status made =
            platform::createNewFile(file.path, file.content, file.executable);
        if (!made && !platform::isAlreadyExists(made.error()))
            return failure(u"ショートカットを作成できませんでした", file.path, made.error());
    }
    return std::nullopt;
}

std::optional<Message> deleteSendTo(SendToAction action, std::u16string_view dataHome) {
    const std::string mark = markOf(textOf(action));
    for (const SendToFile& file : sendToFiles(action, u"", dataHome)) {
        const auto content = platform::readFile(file.path);
        if (!content || content->find(mark) == std::string::npos)
            continue;
        if (const platform::Status removed = platform::removeFile(file.path); !removed)
            return failure(u"ショートカットを削除できませんでした", file.path, removed.error());
    }
    return std::nullopt;
}

}  // namespace soramine::app
