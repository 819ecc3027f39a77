#include "core/app/one_shot.h"

#include <memory>

#include "core/hash/file_digest.h"
#include "core/platform/clock.h"
#include "core/text/random_text.h"
#include "core/text/strings.h"

namespace soramine::app {

namespace {

constexpr std::u16string_view kSwapSuffix = u"_____.____";

// A path cut after its last separator: the folder keeps the separator, the name is the rest.
// A path without one is a name in the current folder.
std::size_t nameStart(std::u16string_view path) {
    const std::size_t slash = path.rfind(platform::kSeparator);
    return slash == std::u16string_view::npos ? 0 : slash + 1;
}

std::u16string_view folderOf(std::u16string_view path) {
    return path.substr(0, nameStart(path));
}

std::u16string_view nameOf(std::u16string_view path) {
    return path.substr(nameStart(path));
}

Expected<std::u16string, RenameFailure> renameWithin(std::u16string_view path,
                                                     std::u16string_view stem) {
    std::u16string target(folderOf(path));
    target += stem;
    target += text::extensionOf(nameOf(path));
    if (auto done = platform::renameNoReplace(path, target); !done)
        return Unexpected{RenameFailure{std::u16string(path), done.error()}};
    return target;
}

std::optional<DigestKind> digestKindOf(std::u16string_view option) {
    if (option == u"/c")
        return DigestKind::Crc32;
    if (option == u"/m")
        return DigestKind::Md5;
    if (option == u"/s")
        return DigestKind::Sha1;
    return std::nullopt;
}

std::u16string errorDetail(const RenameFailure& f) {
    std::u16string text = u"\n" + f.path;
    if (std::u16string reason = platform::systemErrorText(f.error); !reason.empty())
        text += u"\n" + reason;
    for (const std::u16string& p : f.notRestored)
        text += u"\n元の名前に戻せませんでした: " + p;
    return text;
}

OneShotOutcome failed(std::u16string_view headline, const RenameFailure& f) {
    return {OneShotStatus::RenameFailed, errorMessage(std::u16string(headline) + errorDetail(f))};
}

// A single-file rename's outcome: silent on success, as the form has nothing to report.
OneShotOutcome outcomeOf(const Expected<std::u16string, RenameFailure>& result) {
    if (result)
        return {};
    if (result.error().reading)
        return failed(u"ファイルが開けません", result.error());
    return failed(u"ファイル名を変更できませんでした", result.error());
}

}  // namespace

Expected<void, RenameFailure> swapNames(std::u16string_view a, std::u16string_view b) {
    const std::u16string temporary = std::u16string(a) + std::u16string(kSwapSuffix);
    const std::u16string targetA = std::u16string(folderOf(a)) + std::u16string(nameOf(b));
    const std::u16string targetB = std::u16string(folderOf(b)) + std::u16string(nameOf(a));
    if (platform::isSameFile(a, b)) {
        RenameFailure same{std::u16string(a), {}};
        same.sameFile = true;
        return Unexpected{std::move(same)};
    }
    struct Step {
        std::u16string from, to;
        std::u16string_view file;  // the file as the user named it
    };
    const Step steps[] = {{std::u16string(a), temporary, a},
                          {std::u16string(b), targetB, b},
                          {temporary, targetA, a}};
    for (std::size_t i = 0; i < std::size(steps); ++i) {
        auto done = platform::renameNoReplace(steps[i].from, steps[i].to);
        if (done)
            continue;
        RenameFailure failure{std::u16string(steps[i].file), done.error()};
        while (i-- > 0) {
            if (!platform::renameNoReplace(steps[i].to, steps[i].from))
                failure.notRestored.push_back(steps[i].to);
        }
        return Unexpected{std::move(failure)};
    }
    return {};
}

Expected<std::u16string, RenameFailure> renameToDigest(std::u16string_view path, DigestKind kind) {
    const auto digest = hash::makeDigest(kind);
    if (auto read = hash::digestFile(*digest, path); !read)
        return Unexpected{RenameFailure{std::u16string(path), read.error(), true}};
    return renameWithin(path, text::fromAscii(hash::hexDigest(*digest, false)));
}

std::u16string randomText(int length, std::uint32_t seed) {
    text::RandomSource random(seed);
    return text::randomCharacters(text::randomPool(true, true, true), length, random);
}

Expected<std::u16string, RenameFailure> renameToRandom(std::u16string_view path, int length,
                                                       std::uint32_t seed) {
    return renameWithin(path, randomText(length, seed));
}

bool isOneShot(std::span<const std::u16string> args) {
    return !args.empty() && (args[0] == u"C" || args[0] == u"/h" || args[0] == u"/r");
}

OneShotOutcome runOneShot(std::span<const std::u16string> args) {
    const OneShotOutcome badArguments{OneShotStatus::BadArguments, std::nullopt};
    if (!isOneShot(args))
        return badArguments;
    if (args[0] == u"C") {
        if (args.size() != 3)
            return {OneShotStatus::BadArguments, errorMessage(u"ファイルは2つにしてください")};
        if (auto swapped = swapNames(args[1], args[2]); !swapped) {
            if (swapped.error().sameFile) {
                return {OneShotStatus::BadArguments,
                        errorMessage(u"2つのパスが同じファイルを指しています\n" + args[1] + u"\n" +
                                     args[2])};
            }
            return failed(u"入れ替えられませんでした", swapped.error());
        }
        return {OneShotStatus::Done, Message{u"入れ替えました", u"処理結果", Icon::Information}};
    }
    if (args.size() < 3)
        return badArguments;
    // One file per form: a second path is refused rather than left unnamed without a word.
    if (args.size() > 3)
        return {OneShotStatus::BadArguments, errorMessage(u"ファイルは1つにしてください")};
    if (args[0] == u"/h") {
        const auto kind = digestKindOf(args[1]);
        if (!kind)
            return badArguments;
        return outcomeOf(renameToDigest(args[2], *kind));
    }
    const int length = text::leadingInt(args[1]);
    if (length < 1 || length > 255)
        return badArguments;
    return outcomeOf(renameToRandom(args[2], length, platform::tickCount()));
}

}  // namespace soramine::app
