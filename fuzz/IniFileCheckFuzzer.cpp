// The check of the settings file runs over whatever the file holds: no content may
// crash it, and it never counts more dropped lines than the file has lines.
#include "FuzzInput.h"
#include "platform/IniFileCheck.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray content = FuzzInput::bytesOf(data, size);
    const int dropped = IniFileCheck::droppedLines(content);
    FuzzInput::require(dropped >= 0 && dropped <= content.count('\n') + 1);
    return 0;
}
