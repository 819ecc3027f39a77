#include "core/engine/folder_maker.h"

#include <algorithm>
#include <array>

#include "core/engine/session.h"
#include "core/engine/session_access.h"
#include "core/platform/clock.h"
#include "core/platform/fs.h"
#include "core/text/strings.h"

namespace soramine {
namespace {

constexpr std::array kLayoutFields = {
    intField(u"階層", &FolderLayout::nested, 0),
    intField(u"数", &FolderLayout::count, kFewestFolders),
};

FolderCreation stopped(Message message) {
    FolderCreation job;
    job.message = std::move(message);
    return job;
}

// `folder` with its trailing separators replaced by one.
std::u16string asParent(std::u16string_view folder) {
    while (!folder.empty() && folder.back() == platform::kSeparator)
        folder.remove_suffix(1);
    return std::u16string(folder) + platform::kSeparator;
}

}  // namespace

bool namesFolders(const MethodTable& methods, int index) {
    const MethodPage* page = methods.page(index);
    return page && page->namesFolders();
}

Message methodCannotNameFolders() {
    return errorMessage(
        u"フォルダ作成できるリネーム方式ではありません\t\t\r\n\r\nリネーム方式を変更して下さい");
}

Message methodRefusedInFolderCreation() {
    return errorMessage(u"フォルダ作成モードでこの項目は選択できません");
}

std::span<const IniField<FolderLayout>> folderLayoutFields() {
    return kLayoutFields;
}

// The table has no text field, but GCC 12's optimizer follows readFields' text branch into a
// string that this struct does not hold and warns about it.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
FolderLayout readFolderLayout(const IniFile& ini) {
    FolderLayout layout{};
    readFields(ini, kFolderLayoutSection, folderLayoutFields(), layout);
    return layout;
}
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif

void writeFolderLayout(IniFile& ini, const FolderLayout& layout) {
    writeFields(ini, kFolderLayoutSection, folderLayoutFields(), layout);
}

Expected<std::int32_t, Message> folderCount(std::u16string_view typed) {
    std::int32_t value = 0;
    bool whole = !typed.empty() && typed.size() <= 2;
    for (const char16_t c : typed) {
        whole = whole && c >= u'0' && c <= u'9';
        value = value * 10 + (c - u'0');
    }
    if (!whole || value < kFewestFolders || value > kMostFolders)
        return Unexpected{errorMessage(u"作成個数の値が不正です。")};
    return value;
}

FolderCreation startFolderCreation(RenameSession& session, Host& host) {
    SessionAccess::log(session).clear();
    auto lease = SessionAccess::beginRun(session);
    if (!lease)
        return stopped(RenameSession::runningMessage());
    const int index = session.settings.methodIndex;
    MethodPage* page = session.methods.page(index);
    if (!page)
        return stopped(unknownMethodMessage());
    if (!page->namesFolders())
        return stopped(methodCannotNameFolders());

    FolderCreation job;
    job.lease = std::move(*lease);
    job.page = page;
    RunContext& run = job.context;
    run.env.folderMode = session.settings.folderMode != 0;
    run.env.fullWidthForbidden = session.detail.fullWidthForbidden != 0;
    run.env.folderCreation = true;
    run.random.seed(platform::tickCount());
    if (auto message = page->validate(run))
        return stopped(std::move(*message));
    // Names from text reads its lines here; the item list plays no part.
    if (auto message = page->prepare(RunItems{session.items(), {}}, run.env, host, job.available))
        return stopped(std::move(*message));
    return job;
}

std::optional<std::u16string> chooseFolderParent(RenameSession& session, Host& host) {
    auto chosen = host.chooseFolder(kFolderParentTitle, session.settings.folderCreationParent);
    if (!chosen)
        return std::nullopt;
    session.settings.folderCreationParent = *chosen;
    writeMainText(session.ini, &MainSettings::folderCreationParent, *chosen);
    return chosen;
}

FolderCreationResult createFolders(RenameSession& session, FolderCreation& job,
                                   std::u16string_view parent, const FolderLayout& layout) {
    FolderCreationResult result;
    RunContext& run = job.context;
    const std::size_t count =
        std::min(static_cast<std::size_t>(std::max(layout.count, 0)), job.available);
    std::u16string folder = asParent(parent);
    NameLengthLimit limit;
    for (std::size_t i = 0; i < count; ++i) {
        const ItemArgs item{u"", folder, static_cast<int>(i), 0};
        const std::u16string computed = job.page->transform(item, run);
        const std::u16string_view name = trimNewName(computed);
        // A name that is not one (empty, a path) is not made, and a nested layout goes on in
        // the same folder.
        if (!acceptableName(folder, name, limit, run.log)) {
            ++result.failures;
            continue;
        }
        const std::u16string path = folder + std::u16string(name);
        if (const platform::Status made = platform::makeFolder(path); made) {
            result.created.push_back(path);
        } else {
            run.log.appendLog(platform::systemErrorText(made.error()) + u" - " + path + u"\r\n");
            ++result.failures;
        }
        if (layout.nested)
            folder = path + platform::kSeparator;
    }
    SessionAccess::log(session).appendLog(run.log.text());
    job.lease.release();
    if (result.failures == 0) {
        result.message = {u"フォルダを作成しました", u"作成結果", Icon::Information};
    } else {
        result.message = {u"作成できなかったフォルダがあります　(" +
                              text::decimal(static_cast<long long>(result.created.size())) +
                              u" / " + text::decimal(static_cast<long long>(count)) + u")",
                          u"作成結果", Icon::Warning};
    }
    return result;
}

}  // namespace soramine
