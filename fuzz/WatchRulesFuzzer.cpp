// The watch rules come back from the settings file, which the user (or anything else)
// may have edited: no stored text may crash the reading, and the rules read must come
// back the same after they are stored again.
#include "FuzzInput.h"

#include "watch/WatchRuleStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<WatchRule> rules = WatchRuleStore::rulesOf(FuzzInput::bytesOf(data, size));
    FuzzInput::require(WatchRuleStore::rulesOf(WatchRuleStore::jsonOf(rules)) == rules);
    return 0;
}
