#pragma once
// XML as far as LandXML 1.2 needs it: a writer of indented elements with escaped attributes, and
// a strict reader of a document into its elements.
//
// Our own, rather than an XML library: the program is built for Linux, Windows and the browser
// alike, and LandXML needs only elements, attributes and text. The writer lays a document out as
// the LandXML files QORVEL has always written (two blanks of indent per level, `<Name />` for an
// empty element, an element holding only text on one line, LF after every tag). The reader takes
// what a conforming LandXML producer may write (a declaration, comments, processing
// instructions, CDATA, character and the five predefined entity references, either quote) and
// refuses the rest with the line it stands on: a document type declaration (whose entities a
// reader would have to expand), another encoding than UTF-8, tags out of step, text outside the
// root element.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace qorvel {

struct XmlAttribute {
    std::string_view name;
    std::string_view value;  // UTF-8, escaped when written
};

class XmlWriter {
public:
    // Writes the declaration `<?xml version="1.0" encoding="UTF-8"?>` into `out`.
    explicit XmlWriter(std::string& out);

    // Starts an element; it is written `<name ... />` when closed without children.
    void Open(std::string_view name, std::initializer_list<XmlAttribute> attributes = {});
    void Close();
    // An element holding only `text`: `<name>text</name>`.
    void Text(std::string_view name, std::string_view text);
    // An element without children: `<name ... />`.
    void Empty(std::string_view name, std::initializer_list<XmlAttribute> attributes);

private:
    void startTag(std::string_view name, std::initializer_list<XmlAttribute> attributes);
    void endPendingTag();
    void indent();

    std::string& out_;
    std::vector<std::string_view> open_;
    bool pending_ = false;  // the last start tag still lacks its ">"
};

// Whether XML 1.0 can hold the UTF-8 text: no control character other than TAB, LF and CR.
bool XmlCanHold(std::string_view text);

struct XmlElement {
    std::string name;
    std::vector<std::pair<std::string, std::string>> attributes;  // in document order, unescaped
    std::string text;                                              // the character data directly inside
    std::size_t line = 0;                                          // of its start tag, from 1
    std::vector<std::size_t> children;                             // XmlDocument::element indices

    // The attribute's value, nullptr when it has none.
    const std::string* Attribute(std::string_view name) const;
};

class XmlDocument {
public:
    // Reads `bytes` (UTF-8, a byte order mark allowed). A document that is not well-formed, or
    // that this reader refuses, fails with a StepError naming `file` and the line.
    static XmlDocument Parse(std::string_view file, std::string_view bytes);

    const XmlElement& root() const { return elements_.front(); }
    const XmlElement& element(std::size_t index) const { return elements_[index]; }
    // The children of `parent` named `name`, in document order.
    std::vector<const XmlElement*> Children(const XmlElement& parent, std::string_view name) const;

private:
    std::vector<XmlElement> elements_;  // the root first, then in document order
    friend class XmlParser;
};

}  // namespace qorvel
