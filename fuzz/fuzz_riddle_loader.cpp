// The riddle reader on arbitrary bytes: it never crashes, and whatever it
// accepts saves and loads back as the same riddle.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "riddle_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const vorlo::RiddleReadResult first = vorlo::ParseRiddle(bytes);
    if (!first.ok) {
        return 0;
    }
    const std::string saved = vorlo::SerializeRiddle(first.riddle);
    const vorlo::RiddleReadResult second = vorlo::ParseRiddle(saved);
    if (!second.ok || !(second.riddle == first.riddle)) {
        std::abort();
    }
    // What the program writes, it writes the same way again.
    if (vorlo::SerializeRiddle(second.riddle) != saved) {
        std::abort();
    }
    return 0;
}
