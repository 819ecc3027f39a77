#include "core/engine/session.h"

#include <algorithm>

namespace soramine {

RenameSession::RenameSession(IniFile iniFile, MethodTable methodTable)
    : ini(std::move(iniFile)), methods(std::move(methodTable)) {}

void RenameSession::readIni() {
    settings = readMainSettings(ini);
    detail = readDetailSettings(ini);
    methods.readIni(ini);
}

ItemTable& RenameSession::changeItems() {
    discardUndo();
    return items_;
}

void RenameSession::setSelection(std::vector<std::size_t> rows) {
    discardUndo();
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    selection_ = std::move(rows);
}

RunEnvironment RenameSession::environment(bool preview) {
    RunEnvironment env;
    env.folderMode = settings.folderMode != 0;
    env.fullWidthForbidden = detail.fullWidthForbidden != 0;
    env.log = &log;
    env.preview = preview;
    env.processedCount = &processedCount;
    env.timeStepOffset = &timeStepOffset;
    return env;
}

}  // namespace soramine
