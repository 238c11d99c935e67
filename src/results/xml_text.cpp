#include "results/xml_text.h"

#include <algorithm>

#include "core/fields.h"
#include "core/step_error.h"
#include "core/text_encoding.h"

namespace qorvel {

namespace {

constexpr std::string_view kIndent = "  ";

// Attribute values as they have always been written: &, < and " as entities, control
// characters as two-digit character references (&#09; for a TAB).
void appendAttributeValue(std::string& out, std::string_view value) {
    for (const char c : value) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '"') out += "&quot;";
        else if (byte < 0x20) {
            out += "&#";
            out += static_cast<char>('0' + byte / 10);
            out += static_cast<char>('0' + byte % 10);
            out += ';';
        } else out += c;
    }
}

void appendText(std::string& out, std::string_view text) {
    for (const char c : text) {
        if (c == '&') out += "&amp;";
        else if (c == '<') out += "&lt;";
        else if (c == '>') out += "&gt;";
        else out += c;
    }
}

}  // namespace

XmlWriter::XmlWriter(std::string& out) : out_(out) { out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"; }

void XmlWriter::indent() {
    for (std::size_t k = 0; k < open_.size(); ++k) out_ += kIndent;
}

void XmlWriter::endPendingTag() {
    if (pending_) out_ += ">\n";
    pending_ = false;
}

void XmlWriter::startTag(std::string_view name, std::initializer_list<XmlAttribute> attributes) {
    endPendingTag();
    indent();
    out_ += '<';
    out_ += name;
    for (const XmlAttribute& attribute : attributes) {
        out_ += ' ';
        out_ += attribute.name;
        out_ += "=\"";
        appendAttributeValue(out_, attribute.value);
        out_ += '"';
    }
}

void XmlWriter::Open(std::string_view name, std::initializer_list<XmlAttribute> attributes) {
    startTag(name, attributes);
    open_.push_back(name);
    pending_ = true;
}

void XmlWriter::Close() {
    const std::string_view name = open_.back();
    open_.pop_back();
    if (pending_) {
        out_ += " />\n";
        pending_ = false;
        return;
    }
    indent();
    out_ += "</";
    out_ += name;
    out_ += ">\n";
}

void XmlWriter::Text(std::string_view name, std::string_view text) {
    startTag(name, {});
    out_ += '>';
    appendText(out_, text);
    out_ += "</";
    out_ += name;
    out_ += ">\n";
}

void XmlWriter::Empty(std::string_view name, std::initializer_list<XmlAttribute> attributes) {
    startTag(name, attributes);
    out_ += " />\n";
}

bool XmlCanHold(std::string_view text) {
    return std::none_of(text.begin(), text.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && c != '\t' && c != '\n' && c != '\r';
    });
}

const std::string* XmlElement::Attribute(std::string_view name) const {
    for (const auto& [key, value] : attributes)
        if (key == name) return &value;
    return nullptr;
}

std::vector<const XmlElement*> XmlDocument::Children(const XmlElement& parent, std::string_view name) const {
    std::vector<const XmlElement*> found;
    for (const std::size_t index : parent.children)
        if (elements_[index].name == name) found.push_back(&elements_[index]);
    return found;
}

// Reads a document from its start to its end, keeping the line it is on.
class XmlParser {
public:
    XmlParser(std::string_view file, std::string_view bytes) : file_(file), text_(bytes) {}

    XmlDocument Parse() {
        if (text_.starts_with("\xEF\xBB\xBF")) position_ = 3;
        checkUtf8();
        if (lookingAt("<?xml") && position_ + 5 < text_.size() && isBlank(text_[position_ + 5])) declaration();
        misc();
        if (!lookingAt("<")) fail(atEnd() ? "文件中没有 XML 元素" : "根元素之前有文字");
        elements();
        misc();
        if (!atEnd()) fail("根元素之后还有内容");
        return std::move(document_);
    }

private:
    [[noreturn]] void fail(const std::string& reason) const {
        throw StepError(std::string(file_), line_, StepError::kNoField, "XML 格式错误：" + reason);
    }

    bool atEnd() const { return position_ >= text_.size(); }
    bool lookingAt(std::string_view what) const { return text_.substr(position_).starts_with(what); }
    static bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    static bool isNameByte(char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x80 || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
               c == '_' || c == ':' || c == '-' || c == '.';
    }

    void advance(std::size_t count) {
        const std::size_t end = std::min(text_.size(), position_ + count);
        line_ += static_cast<std::size_t>(std::count(text_.begin() + position_, text_.begin() + end, '\n'));
        position_ = end;
    }
    void skipBlanks() {
        while (!atEnd() && isBlank(text_[position_])) advance(1);
    }
    // Everything up to `end`, which is consumed too.
    std::string_view until(std::string_view end, const char* what) {
        const std::size_t found = text_.find(end, position_);
        if (found == std::string_view::npos) fail(std::string(what) + "没有结束");
        const std::string_view inside = text_.substr(position_, found - position_);
        advance(found - position_ + end.size());
        return inside;
    }

    void checkUtf8() {
        if (IsValidUtf8(text_)) return;
        std::size_t line = 1;
        for (const Record& record : SplitRecords(text_)) {
            if (!IsValidUtf8(record.text)) {
                line = record.line;
                break;
            }
        }
        throw StepError(std::string(file_), line, StepError::kNoField, "XML 格式错误：不是 UTF-8 文字");
    }

    void declaration() {
        const std::string_view inside = until("?>", "XML 声明");
        const std::size_t at = inside.find("encoding");
        if (at == std::string_view::npos) return;
        std::string_view rest = inside.substr(at + 8);
        const std::size_t quote = rest.find_first_of("\"'");
        if (quote == std::string_view::npos) fail("XML 声明的 encoding 没有值");
        rest = rest.substr(quote + 1);
        const std::size_t close = rest.find(inside[at + 8 + quote]);
        std::string encoding(rest.substr(0, close));
        for (char& c : encoding) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
        if (encoding != "UTF-8" && encoding != "UTF8") fail("只能读取 UTF-8 编码的 XML，这个文件是 " + DisplayText(encoding));
    }

    // Comments, processing instructions and blanks.
    void misc() {
        for (;;) {
            skipBlanks();
            if (lookingAt("<!--")) {
                advance(4);
                until("-->", "注释");
            } else if (lookingAt("<?")) {
                advance(2);
                until("?>", "处理指令");
            } else if (lookingAt("<!DOCTYPE")) {
                fail("不读取带 DOCTYPE 的文档");
            } else {
                return;
            }
        }
    }

    std::string_view name() {
        const std::size_t start = position_;
        while (!atEnd() && isNameByte(text_[position_])) ++position_;
        if (position_ == start) fail("这里应是元素或属性的名称");
        return text_.substr(start, position_ - start);
    }

    // Character data with its references replaced; in attribute values literal blanks become
    // spaces, as XML normalises them.
    void appendDecoded(std::string& out, std::string_view raw, bool attribute) {
        for (std::size_t k = 0; k < raw.size(); ++k) {
            const char c = raw[k];
            if (c == '<') fail("文字中不能有“<”");
            if (c != '&') {
                out += attribute && (c == '\t' || c == '\n' || c == '\r') ? ' ' : c;
                continue;
            }
            const std::size_t end = raw.find(';', k);
            if (end == std::string_view::npos) fail("“&”之后没有以“;”结束的引用");
            const std::string_view reference = raw.substr(k + 1, end - k - 1);
            k = end;
            if (reference == "amp") out += '&';
            else if (reference == "lt") out += '<';
            else if (reference == "gt") out += '>';
            else if (reference == "quot") out += '"';
            else if (reference == "apos") out += '\'';
            else if (reference.starts_with('#')) appendCharacter(out, reference);
            else fail("未知的实体引用：&" + DisplayText(reference) + ";");
        }
    }

    void appendCharacter(std::string& out, std::string_view reference) {
        const bool hex = reference.starts_with("#x");
        const std::string_view digits = reference.substr(hex ? 2 : 1);
        char32_t code = 0;
        if (digits.empty() || digits.size() > 8) fail("字符引用不对：&" + DisplayText(reference) + ";");
        for (const char c : digits) {
            int digit = -1;
            if (c >= '0' && c <= '9') digit = c - '0';
            else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            if (digit < 0) fail("字符引用不对：&" + DisplayText(reference) + ";");
            code = code * (hex ? 16 : 10) + static_cast<char32_t>(digit);
        }
        const bool allowed = code == 0x9 || code == 0xA || code == 0xD || (code >= 0x20 && code <= 0xD7FF) ||
                             (code >= 0xE000 && code <= 0xFFFD) || (code >= 0x10000 && code <= 0x10FFFF);
        if (!allowed) fail("字符引用不是 XML 字符：&" + DisplayText(reference) + ";");
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    // A start tag after its "<": the element's name and attributes; true when it is empty ("/>").
    bool startTag(XmlElement& element) {
        element.line = line_;
        element.name = name();
        for (;;) {
            const bool blank = !atEnd() && isBlank(text_[position_]);
            skipBlanks();
            if (atEnd()) fail("元素“" + DisplayText(element.name) + "”的开始标记没有结束");
            if (lookingAt("/>")) {
                advance(2);
                return true;
            }
            if (lookingAt(">")) {
                advance(1);
                return false;
            }
            if (!blank) fail("属性之间须有空白");
            const std::string key(name());
            skipBlanks();
            if (!lookingAt("=")) fail("属性“" + DisplayText(key) + "”之后应是“=”");
            advance(1);
            skipBlanks();
            if (atEnd() || (text_[position_] != '"' && text_[position_] != '\'')) fail("属性值须在引号之内");
            const char quote[] = {text_[position_], '\0'};
            advance(1);
            std::string value;
            appendDecoded(value, until(quote, "属性值"), true);
            if (element.Attribute(key)) fail("属性“" + DisplayText(key) + "”重复");
            element.attributes.emplace_back(key, std::move(value));
        }
    }

    // The root element and everything in it, with an explicit stack so that no nesting depth
    // can exhaust the program's own.
    void elements() {
        std::vector<std::size_t> open;
        do {
            if (open.empty() && (lookingAt("</") || lookingAt("<!") || lookingAt("<?"))) fail("这里应是根元素的开始标记");
            if (lookingAt("</")) {
                advance(2);
                const std::string_view closing = name();
                skipBlanks();
                if (!lookingAt(">")) fail("结束标记没有以“>”结束");
                advance(1);
                const XmlElement& element = document_.elements_[open.back()];
                if (closing != element.name)
                    fail("结束标记“" + DisplayText(closing) + "”与第 " + std::to_string(element.line) + " 行的开始标记“" +
                         DisplayText(element.name) + "”不符");
                open.pop_back();
            } else if (lookingAt("<!--")) {
                advance(4);
                until("-->", "注释");
            } else if (lookingAt("<![CDATA[")) {
                advance(9);
                const std::string_view data = until("]]>", "CDATA 段");
                document_.elements_[open.back()].text += data;
            } else if (lookingAt("<?")) {
                advance(2);
                until("?>", "处理指令");
            } else if (lookingAt("<!")) {
                fail("元素之内不能有“<!”声明");
            } else if (lookingAt("<")) {
                advance(1);
                XmlElement element;
                const bool empty = startTag(element);
                const std::size_t index = document_.elements_.size();
                if (!open.empty()) document_.elements_[open.back()].children.push_back(index);
                document_.elements_.push_back(std::move(element));
                if (!empty) open.push_back(index);
            } else {
                const std::size_t next = text_.find('<', position_);
                if (next == std::string_view::npos) fail("元素“" + DisplayText(document_.elements_[open.back()].name) + "”没有结束");
                const std::string_view raw = text_.substr(position_, next - position_);
                if (raw.find("]]>") != std::string_view::npos) fail("文字中不能有“]]>”");
                appendDecoded(document_.elements_[open.back()].text, raw, false);
                advance(raw.size());
            }
            if (atEnd() && !open.empty())
                fail("元素“" + DisplayText(document_.elements_[open.back()].name) + "”没有结束");
        } while (!open.empty());
    }

    std::string_view file_;
    std::string_view text_;
    std::size_t position_ = 0;
    std::size_t line_ = 1;
    XmlDocument document_;
};

XmlDocument XmlDocument::Parse(std::string_view file, std::string_view bytes) { return XmlParser(file, bytes).Parse(); }

}  // namespace qorvel
