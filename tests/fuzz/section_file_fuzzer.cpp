// Feeds arbitrary bytes to the readers of the section result files and converts what they read:
// every input must be read and converted or fail with a StepError (file, line, field, reason),
// never crash, hang or read out of bounds. The XML reader of LandXML is among them.
//
// An input is one byte that chooses the layouts, then the section file, then optionally the
// byte 0x1E and a centre-stake file.
//   byte 0: bits 0-3 the layout named for the input (0: none, the content tells; 1 to 9 the
//           layouts in the layout box's order), bits 4-7 the target layout (modulo their number)

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/data_file.h"
#include "core/step_error.h"
#include "results/section_conversion.h"
#include "results/section_reading.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qorvel;
    if (size < 1) return 0;
    const auto layouts = SectionLayouts();
    const std::size_t named = data[0] & 0x0F;
    const SectionLayoutEntry* from = named >= 1 && named <= layouts.size() ? &layouts[named - 1] : nullptr;
    SectionLayoutSettings target;
    target.layoutName = layouts[(data[0] >> 4) % layouts.size()].name;

    std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
    std::optional<DataFile> stakes;
    if (const std::size_t separator = bytes.find('\x1E'); separator != std::string_view::npos) {
        stakes = DataFile::FromBytes("stakes.dat", std::string(bytes.substr(separator + 1)));
        bytes = bytes.substr(0, separator);
    }
    try {
        const ReadSections read = ReadSectionFile("in.dat", bytes, from);
        ConvertSections(read, "in.dat", stakes ? &*stakes : nullptr, target);
    } catch (const StepError&) {
    }
    return 0;
}
