#include "frame/drawing_code_pages.h"

#include "drawing/dxf_text.h"

namespace qorvel {

const std::vector<DrawingCodePage>& DrawingCodePages() {
    static const std::vector<DrawingCodePage> pages = [] {
        std::vector<DrawingCodePage> list;
        for (const DrawingCodePageName& page : DrawingCodePageNames()) list.push_back({page.name, page.description});
        return list;
    }();
    return pages;
}

std::optional<std::string> DrawingCodePageNamed(std::string_view typed) {
    const auto upper = [](std::string_view text) {
        std::string result(text);
        for (char& c : result)
            if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        return result;
    };
    const std::string wanted = upper(typed);
    for (const DrawingCodePage& page : DrawingCodePages())
        if (page.name == wanted) return page.name;
    return std::nullopt;
}

}  // namespace qorvel
