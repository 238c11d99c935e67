#include "results/xml_text.h"

#include <string>

#include <gtest/gtest.h>

#include "support/error_of.h"

namespace qorvel {
namespace {

using testing::ErrorOf;

TEST(XmlText, WrittenEscapedAndReadBack) {
    std::string text;
    XmlWriter xml(text);
    xml.Open("A", {{"name", "a&b<c>\"d'\te"}});
    xml.Empty("B", {{"x", "1"}, {"y", ""}});
    xml.Text("C", "1 < 2 & 3 > 2");
    xml.Open("D");
    xml.Close();
    xml.Close();
    EXPECT_EQ(text,
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<A name=\"a&amp;b&lt;c>&quot;d'&#09;e\">\n"
              "  <B x=\"1\" y=\"\" />\n"
              "  <C>1 &lt; 2 &amp; 3 &gt; 2</C>\n"
              "  <D />\n"
              "</A>\n");

    const XmlDocument read = XmlDocument::Parse("a.xml", text);
    EXPECT_EQ(read.root().name, "A");
    EXPECT_EQ(*read.root().Attribute("name"), "a&b<c>\"d'\te");
    EXPECT_EQ(read.Children(read.root(), "C")[0]->text, "1 < 2 & 3 > 2");
    EXPECT_EQ(read.Children(read.root(), "D")[0]->line, 5u);
    EXPECT_EQ(read.root().Attribute("other"), nullptr);
    EXPECT_FALSE(XmlCanHold("K1\x1F"));
}

TEST(XmlText, WhatAProducerMayWriteBesides) {
    const XmlDocument read = XmlDocument::Parse(
        "b.xml",
        "\xEF\xBB\xBF<?xml version='1.0' encoding='utf-8'?>\r\n<!-- made elsewhere -->\r\n"
        "<R a = 'x\ny' b=\"&#x41;&#66;&apos;\"><?pi here?><S><![CDATA[<1 & 2>]]>&#x8DEF;</S>\r\n<!-- c --></R>\r\n");
    EXPECT_EQ(*read.root().Attribute("a"), "x y");  // a line end in a value is a blank
    EXPECT_EQ(*read.root().Attribute("b"), "AB'");
    EXPECT_EQ(read.Children(read.root(), "S")[0]->text, "<1 & 2>路");
    EXPECT_EQ(read.Children(read.root(), "S")[0]->line, 4u);
}

TEST(XmlText, MalformedDocumentsNameTheirLine) {
    const auto error = [](const std::string& bytes) { return ErrorOf([&] { XmlDocument::Parse("x.xml", bytes); }); };
    EXPECT_EQ(error("<A>\n<B>\n</A>"), "文件“x.xml”第 3 行：XML 格式错误：结束标记“A”与第 2 行的开始标记“B”不符");
    EXPECT_EQ(error("<A>\n<B>"), "文件“x.xml”第 2 行：XML 格式错误：元素“B”没有结束");
    EXPECT_EQ(error("<A/>\n<B/>"), "文件“x.xml”第 2 行：XML 格式错误：根元素之后还有内容");
    EXPECT_EQ(error("<!DOCTYPE A [<!ENTITY e \"x\">]>\n<A>&e;</A>"), "文件“x.xml”第 1 行：XML 格式错误：不读取带 DOCTYPE 的文档");
    EXPECT_EQ(error("<A>&e;</A>"), "文件“x.xml”第 1 行：XML 格式错误：未知的实体引用：&e;");
    EXPECT_EQ(error("<A>&#1;</A>"), "文件“x.xml”第 1 行：XML 格式错误：字符引用不是 XML 字符：&#1;");
    EXPECT_EQ(error("<A b=\"1\" b=\"2\"/>"), "文件“x.xml”第 1 行：XML 格式错误：属性“b”重复");
    EXPECT_EQ(error("<A b=1/>"), "文件“x.xml”第 1 行：XML 格式错误：属性值须在引号之内");
    EXPECT_EQ(error("<?xml version=\"1.0\" encoding=\"GB2312\"?>\n<A/>"),
              "文件“x.xml”第 1 行：XML 格式错误：只能读取 UTF-8 编码的 XML，这个文件是 GB2312");
    EXPECT_EQ(error("<A>\n\xB7\xC2</A>"), "文件“x.xml”第 2 行：XML 格式错误：不是 UTF-8 文字");
    EXPECT_EQ(error("</A>"), "文件“x.xml”第 1 行：XML 格式错误：这里应是根元素的开始标记");
    EXPECT_EQ(error("  \n"), "文件“x.xml”第 2 行：XML 格式错误：文件中没有 XML 元素");
}

}  // namespace
}  // namespace qorvel
