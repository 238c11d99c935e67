#include "big_drawing.h"

#include <cmath>
#include <cstdio>
#include <numbers>
#include <stdexcept>

namespace qorvel::bench {

namespace {

class DxfWriter {
public:
    void Pair(int code, const std::string& value) {
        char codeText[16];
        std::snprintf(codeText, sizeof codeText, "%3d\n", code);
        bytes_ += codeText;
        bytes_ += value;
        bytes_ += '\n';
    }
    void Real(int code, double value) {
        char text[64];
        std::snprintf(text, sizeof text, "%.4f", value);
        Pair(code, text);
    }
    void Handle(int code, unsigned long handle) {
        char text[32];
        std::snprintf(text, sizeof text, "%lX", handle);
        Pair(code, text);
    }
    void Entity(const char* type, const char* layer, const char* subclass) {
        Pair(0, type);
        Handle(5, ++handle_);
        Pair(330, "1F");
        Pair(100, "AcDbEntity");
        Pair(8, layer);
        Pair(100, subclass);
    }
    std::string& bytes() { return bytes_; }

private:
    std::string bytes_;
    unsigned long handle_ = 0x100;
};

}  // namespace

BigDrawingCounts WriteBigDrawing(const std::string& path, std::size_t targetBytes, DrawingMix mix) {
    DxfWriter dxf;
    dxf.bytes().reserve(targetBytes + (1 << 20));
    dxf.Pair(0, "SECTION");
    dxf.Pair(2, "HEADER");
    dxf.Pair(9, "$ACADVER");
    dxf.Pair(1, "AC1015");
    dxf.Pair(9, "$DWGCODEPAGE");
    dxf.Pair(3, "ANSI_936");
    dxf.Pair(0, "ENDSEC");
    dxf.Pair(0, "SECTION");
    dxf.Pair(2, "BLOCKS");
    dxf.Pair(0, "BLOCK");
    dxf.Pair(8, "0");
    dxf.Pair(2, "GCD");
    dxf.Pair(0, "CIRCLE");
    dxf.Pair(8, "0");
    dxf.Real(10, 0);
    dxf.Real(20, 0);
    dxf.Real(40, 0.2);
    dxf.Pair(0, "ENDBLK");
    dxf.Pair(0, "ENDSEC");
    dxf.Pair(0, "SECTION");
    dxf.Pair(2, "ENTITIES");

    BigDrawingCounts counts;
    const double east0 = 438250, north0 = 3391620;
    // One station every 20 m: the centre line vertex, its label, its section line and about
    // twenty surveyed points, each with an elevation text.
    for (std::size_t station = 0; dxf.bytes().size() < targetBytes; ++station) {
        const double chainage = 20.0 * static_cast<double>(station);
        const double azimuth = 0.8 + 0.3 * std::sin(chainage / 3000);
        const double east = east0 + chainage * std::sin(azimuth), north = north0 + chainage * std::cos(azimuth);
        const double rightE = std::sin(azimuth + std::numbers::pi / 2), rightN = std::cos(azimuth + std::numbers::pi / 2);

        if (station % 50 == 0) {
            // A piece of the centre line: 50 vertices, one per station.
            dxf.Entity("LWPOLYLINE", "zxx", "AcDbPolyline");
            dxf.Pair(90, "50");
            dxf.Pair(70, "0");
            for (int k = 0; k < 50; ++k) {
                const double c = chainage + 20.0 * k;
                dxf.Real(10, east0 + c * std::sin(azimuth));
                dxf.Real(20, north0 + c * std::cos(azimuth));
            }
            counts.polylineVertices += 50;
        }

        const int copies = mix == DrawingMix::OnlyExtracted ? 20 : 1;
        for (int copy = 0; copy < copies; ++copy) {
        char label[64];
        std::snprintf(label, sizeof label, "K%d+%03d", static_cast<int>(chainage / 1000),
                      static_cast<int>(std::fmod(chainage, 1000)));
        dxf.Entity("TEXT", "zh", "AcDbText");
        dxf.Real(10, east - 0.3 + copy);
        dxf.Real(20, north - 0.3);
        dxf.Real(30, 0);
        dxf.Real(40, 1.5);
        dxf.Pair(1, station % 10 == 0 ? std::string(label) + "\xD6\xD0\xD7\xAE" : label);  // "中桩" in GBK
        dxf.Pair(100, "AcDbText");
        ++counts.labels;

        dxf.Entity("LINE", "dmx", "AcDbLine");
        dxf.Real(10, east - 30 * rightE + copy);
        dxf.Real(20, north - 30 * rightN);
        dxf.Real(30, 0);
        dxf.Real(11, east + 30 * rightE);
        dxf.Real(21, north + 30 * rightN);
        dxf.Real(31, 0);
        ++counts.sectionLines;
        }

        if (mix == DrawingMix::OnlyExtracted) continue;
        for (int k = -10; k <= 10; ++k) {
            const double pe = east + 2.7 * k * rightE, pn = north + 2.7 * k * rightN;
            const double elevation = 150 + 0.012 * chainage - 0.08 * k;
            dxf.Entity("INSERT", "gcd", "AcDbBlockReference");
            dxf.Pair(2, "GCD");
            dxf.Real(10, pe);
            dxf.Real(20, pn);
            dxf.Real(30, elevation);
            char text[32];
            std::snprintf(text, sizeof text, "%.3f", elevation);
            dxf.Entity("TEXT", "gcd", "AcDbText");
            dxf.Real(10, pe + 0.3);
            dxf.Real(20, pn);
            dxf.Real(30, elevation);
            dxf.Real(40, 1.0);
            dxf.Pair(1, text);
            dxf.Pair(100, "AcDbText");
        }
    }
    dxf.Pair(0, "ENDSEC");
    dxf.Pair(0, "EOF");

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) throw std::runtime_error("cannot write " + path);
    const bool written = std::fwrite(dxf.bytes().data(), 1, dxf.bytes().size(), file) == dxf.bytes().size();
    if (std::fclose(file) != 0 || !written) throw std::runtime_error("cannot write " + path);
    counts.bytes = dxf.bytes().size();
    return counts;
}

}  // namespace qorvel::bench
