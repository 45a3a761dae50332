// One load and one save of config.wtf for every game-file option of an Apply.
#include "config/config_edit_batch.h"

namespace kelvane {

ConfigEditBatch::ConfigEditBatch(const std::wstring& configPath) : loaded_(LoadForRewrite(document_, configPath)) {}

WriteResult ConfigEditBatch::Edit(const std::function<WriteResult(GameConfigFile&)>& edit)
{
    if (!loaded_)
        return loaded_;
    // A save leaves out the settings without a value: a later edit must not find one of them still in its place.
    if (edited_)
        document_.DropEmptySettings();
    const WriteResult edited = edit(document_);
    edited_ = edited_ || edited;
    return edited;
}

WriteResult ConfigEditBatch::Save(const BeforeReplacing& beforeReplacing) const
{
    return edited_ ? document_.Save(beforeReplacing) : WriteResult();
}

}  // namespace kelvane
