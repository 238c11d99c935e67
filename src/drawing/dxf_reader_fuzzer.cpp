// Feeds arbitrary bytes to the DXF reader: it must either read a drawing or fail with a
// StepError, never crash, hang or read out of bounds.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/step_error.h"
#include "drawing/dxf_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        const qorvel::Drawing drawing =
            qorvel::ReadDxf(std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.dxf");
        (void)drawing.LayerNames();
    } catch (const qorvel::StepError&) {
    }
    return 0;
}
