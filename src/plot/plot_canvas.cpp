#include "plot/plot_canvas.h"

#include <cstdint>

namespace qorvel {

namespace {

// The next character of UTF-8 text: its code point and length in bytes; a byte that starts no
// valid character is taken alone with `valid` false.
struct Utf8Character {
    char32_t codePoint = 0;
    std::size_t length = 1;
    bool valid = false;
};

Utf8Character NextCharacter(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) return {lead, 1, true};
    std::size_t length = 0;
    char32_t codePoint = 0;
    if ((lead & 0xE0) == 0xC0) { length = 2; codePoint = lead & 0x1F; }
    else if ((lead & 0xF0) == 0xE0) { length = 3; codePoint = lead & 0x0F; }
    else if ((lead & 0xF8) == 0xF0) { length = 4; codePoint = lead & 0x07; }
    else return {};
    if (at + length > text.size()) return {};
    for (std::size_t k = 1; k < length; ++k) {
        const auto next = static_cast<unsigned char>(text[at + k]);
        if ((next & 0xC0) != 0x80) return {};
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (codePoint < kSmallest[length] || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return {};
    return {codePoint, length, true};
}

double EmWidth(char32_t codePoint) {
    // Hangul, CJK, full-width forms: square. A space a third of an em; everything else a little
    // more than the digits' 0.55 em in the sheets' font.
    const bool wide = (codePoint >= 0x1100 && codePoint <= 0x115F) || (codePoint >= 0x2E80 && codePoint <= 0xA4CF) ||
                      (codePoint >= 0xAC00 && codePoint <= 0xD7A3) || (codePoint >= 0xF900 && codePoint <= 0xFAFF) ||
                      (codePoint >= 0xFE30 && codePoint <= 0xFE4F) || (codePoint >= 0xFF00 && codePoint <= 0xFF60) ||
                      (codePoint >= 0xFFE0 && codePoint <= 0xFFE6) || codePoint >= 0x20000;
    if (codePoint == ' ') return 0.33;
    return wide ? 1.0 : 0.6;
}

}  // namespace

std::string_view LayerName(PlotLayer layer) {
    switch (layer) {
        case PlotLayer::Ground: return "地面线";
        case PlotLayer::Stake: return "中桩";
        case PlotLayer::Annotation: return "标注";
        case PlotLayer::Frame: return "图框";
    }
    return "0";
}

double EstimatedTextWidth(std::string_view utf8, double height) {
    double ems = 0;
    for (std::size_t at = 0; at < utf8.size();) {
        const Utf8Character character = NextCharacter(utf8, at);
        ems += character.valid ? EmWidth(character.codePoint) : 0.6;
        at += character.length;
    }
    return ems * height * kEmPerTextHeight;
}

std::string FittedText(std::string_view text, double height, double maxWidth) {
    static constexpr std::string_view kEllipsis = "…";
    const double em = height * kEmPerTextHeight;
    const double room = maxWidth - EmWidth(0x2026) * em;
    std::string fitted;
    double width = 0;
    std::size_t keptUpTo = 0;  // bytes of `fitted` that still leave room for the ellipsis
    for (std::size_t at = 0; at < text.size();) {
        const Utf8Character character = NextCharacter(text, at);
        const bool shown = character.valid && character.codePoint >= 0x20 && character.codePoint != 0x7F;
        width += (shown ? EmWidth(character.codePoint) : 0.6) * em;
        if (width > maxWidth) {
            fitted.resize(keptUpTo);
            fitted += kEllipsis;
            return fitted;
        }
        if (shown)
            fitted.append(text.substr(at, character.length));
        else
            fitted += '?';
        if (width <= room) keptUpTo = fitted.size();
        at += character.length;
    }
    return fitted;
}

}  // namespace qorvel
