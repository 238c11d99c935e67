#include "plot/plot_canvas.h"

#include <algorithm>
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
    // Hangul, CJK, full-width forms: square. Digits, points and signs as the sheets' font draws
    // them (the numbers of a table must stand close without touching); other Latin letters a
    // little wider than most, the widest ones wider still.
    const bool wide = (codePoint >= 0x1100 && codePoint <= 0x115F) || (codePoint >= 0x2E80 && codePoint <= 0xA4CF) ||
                      (codePoint >= 0xAC00 && codePoint <= 0xD7A3) || (codePoint >= 0xF900 && codePoint <= 0xFAFF) ||
                      (codePoint >= 0xFE30 && codePoint <= 0xFE4F) || (codePoint >= 0xFF00 && codePoint <= 0xFF60) ||
                      (codePoint >= 0xFFE0 && codePoint <= 0xFFE6) || codePoint >= 0x20000;
    if (wide) return 1.0;
    if ((codePoint >= '0' && codePoint <= '9') || codePoint == '+') return 0.56;
    switch (codePoint) {
        case ' ':
        case '.':
        case ',':
        case ':':
        case ';': return 0.3;
        case '-': return 0.36;
        case 'm':
        case 'w':
        case 'M':
        case 'W':
        case '@':
        case '%': return 0.92;
        default: return 0.62;
    }
}

}  // namespace

std::string_view LayerName(PlotLayer layer) {
    switch (layer) {
        case PlotLayer::Ground: return "地面线";
        case PlotLayer::Stake: return "中桩";
        case PlotLayer::Annotation: return "标注";
        case PlotLayer::Frame: return "图框";
        case PlotLayer::Table: return "表格";
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

PlotBox EstimatedTextBox(const PlotText& text) {
    const double width = EstimatedTextWidth(text.text, text.height);
    // Along the text's own line and across it, measured from the anchor.
    double start = 0;
    if (text.align == TextAlign::Centre) start = -width / 2;
    if (text.align == TextAlign::Right) start = -width;
    double baseline = 0;
    if (text.baseline == TextBaseline::Middle) baseline = -text.height / 2;
    if (text.baseline == TextBaseline::Top) baseline = -text.height;
    // Digits and their signs stand on the baseline and reach the digits' height; other text
    // reaches below it and above.
    const bool numeric = std::all_of(text.text.begin(), text.text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+';
    });
    const double low = baseline - (numeric ? 0.05 : 0.2) * text.height;
    const double high = baseline + (numeric ? 1.05 : 1.2) * text.height;
    if (text.angle == 90) return {text.at.x - high, text.at.y + start, text.at.x - low, text.at.y + start + width};
    return {text.at.x + start, text.at.y + low, text.at.x + start + width, text.at.y + high};
}

bool Overlap(const PlotBox& a, const PlotBox& b) {
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
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
