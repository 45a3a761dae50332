// How option edits reach config.wtf: one Apply's edits on one loaded document, with one save.
#pragma once

#include <functional>
#include <string>

#include "config/game_config_file.h"
#include "config/write_result.h"

namespace kelvane {

class ConfigEditBatch {
public:
    // Loads the file at `configPath` for a rewrite (as LoadForRewrite does).
    explicit ConfigEditBatch(const std::wstring& configPath);
    ConfigEditBatch(const ConfigEditBatch&) = delete;
    ConfigEditBatch& operator=(const ConfigEditBatch&) = delete;

    // Makes one option's edit on the document as saving the edits before it and reading the file back would have
    // left it, so the saved bytes are those of one save per option. Answers the edit's own result, or the load's
    // failure without calling it; only an edit that succeeded is saved.
    WriteResult Edit(const std::function<WriteResult(GameConfigFile&)>& edit);
    // Puts the document in place once, when any edit succeeded; with none there is nothing to save. `beforeReplacing`
    // runs only then, once the new contents are flushed and the file found replaceable (the moment for a backup).
    WriteResult Save(const BeforeReplacing& beforeReplacing = nullptr) const;

private:
    GameConfigFile document_;
    WriteResult loaded_;
    bool edited_ = false;
};

}  // namespace kelvane
