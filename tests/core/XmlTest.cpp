// The XML reader and writer: attributes, entities, exact output, ZXML and hostile input.
#include "tvlib/core/TXmlNode.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tests/support/TempDir.h"
#include "tools/tvpack/TPackageWriter.h"
#include "tools/zxml/TZxmlWriter.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"

namespace {

std::string Text(const TString& s) {
  return s.c_str();
}

// Reads a document and writes it back.
std::string Rewrite(const std::string& xml) {
  TXmlNode root;
  root.LoadBuffer(xml.data(), xml.size());
  return Text(root.ToString());
}

}  // namespace

TEST(Xml, ReadsAttributesTextAndEmptyElements) {
  TXmlNode root;
  root.LoadBuffer("<a x=1 y=\"two words\">hello   big\n world</a><e/><b></b>");
  TXmlNode* a = root.FindChild("a");
  ASSERT_NE(a, nullptr);
  unsigned char quoted = 7;
  EXPECT_EQ(Text(a->GetAttribute("x", &quoted)), "1");
  EXPECT_EQ(quoted, 0);
  EXPECT_EQ(Text(a->GetAttribute("y", &quoted)), "two words");
  EXPECT_EQ(quoted, 1);
  quoted = 7;
  EXPECT_EQ(Text(a->GetAttribute("missing", &quoted)), "");
  EXPECT_EQ(quoted, 7);
  EXPECT_EQ(Text(a->GetText()), "hello big world");
  for (const char* name : {"e", "b"}) {
    TXmlNode* empty = root.FindChild(name);
    ASSERT_NE(empty, nullptr) << name;
    EXPECT_EQ(empty->GetChildCount(), 0);
    EXPECT_EQ(Text(empty->GetText()), "");
  }
  EXPECT_EQ(root.GetChildCount(), 3);
}

TEST(Xml, EntitiesDecodeAndAnEscapedLessThanStartsNoTag) {
  TXmlNode root;
  root.LoadBuffer("<t>&lt;&#65;&gt; &lt;b&gt; &amp;&quot;&apos; &unknown; &#;</t>");
  EXPECT_EQ(Text(root.FindChild("t")->GetText()), "<A> <b> &\"' &unknown; &#;");
  EXPECT_EQ(root.FindChild("t")->GetChildCount(), 0);
}

TEST(Xml, WriterTextIsExact) {
  TXmlNode r("r");
  r.SetAttribute("k", "a<b");
  r.AppendText("\xc3\xa9", 2);
  r.AddChild("c")->SetAttributeInt("n", -5);
  EXPECT_EQ(Text(r.ToString()),
            "<r\n"
            "    k=\"a&lt;b\">\n"
            "&#195;&#169;\n"
            "    <c\n"
            "        n=\"-5\">\n"
            "    </c>\n"
            "</r>\n");
}

TEST(Xml, RoundTripsKeepTheTree) {
  const std::string document =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<!DOCTYPE workbook>\n"
      "<!-- a comment with words -->\n"
      "<doc plain=1 quoted=\"x &amp; y\" tab=\"&#9;\">\n"
      "  <item name=\"caf\xc3\xa9\">text &lt;here&gt; &#200;</item>\n"
      "  <empty/>\n"
      "</doc>";
  std::string once = Rewrite(document);
  EXPECT_EQ(Rewrite(once), once);
  TXmlNode root;
  root.LoadBuffer(once.c_str());
  ASSERT_NE(root.FindChild("?xml"), nullptr);
  EXPECT_EQ(Text(root.FindChild("?xml")->GetAttribute("version")), "1.0");
  ASSERT_NE(root.FindChild("!DOCTYPE"), nullptr);
  ASSERT_NE(root.FindChild("!--"), nullptr);
  TXmlNode* doc = root.FindChild("doc");
  ASSERT_NE(doc, nullptr);
  unsigned char quoted = 9;
  EXPECT_EQ(Text(doc->GetAttribute("plain", &quoted)), "1");
  EXPECT_EQ(quoted, 0);
  EXPECT_EQ(Text(doc->GetAttribute("quoted")), "x & y");
  EXPECT_EQ(Text(doc->GetAttribute("tab")), "\t");
  TXmlNode* item = doc->FindChild("item");
  EXPECT_EQ(Text(item->GetAttribute("name")), "caf\xc3\xa9");
  EXPECT_EQ(Text(item->GetText()), "text <here> \xc8");
}

TEST(Xml, ZxmlReadsAndItsCorruptFormsGiveAnEmptyTree) {
  TTempDir dir;
  SetLogDirectory(dir.Path().c_str());
  const std::string plain = "<a k=\"v\">zipped</a>";
  std::string good = MakeZxml(plain);
  TXmlNode root;
  root.LoadBuffer(good.data(), good.size());
  ASSERT_NE(root.FindChild("a"), nullptr);
  EXPECT_EQ(Text(root.FindChild("a")->GetText()), "zipped");

  auto with = [&](size_t at, uint32_t value) {
    std::string copy = good;
    for (int i = 0; i < 4; ++i) copy[at + i] = static_cast<char>(value >> (8 * i));
    return copy;
  };
  uint32_t packed = static_cast<uint32_t>(good.size() - 12);
  const std::string corrupt[] = {
      with(4, packed + 1),              // compressed length past the file
      with(8, 64u << 20),               // plain length over the cap
      with(8, plain.size() - 1),        // too small for what inflates
      good.substr(0, good.size() - 3),  // stream cut short
      good.substr(0, 10),               // header cut short
  };
  for (const std::string& bytes : corrupt) {
    TXmlNode broken;
    broken.LoadBuffer(bytes.data(), bytes.size());
    EXPECT_EQ(broken.GetChildCount(), 0);
  }
  EXPECT_NE(ReadWholeFile(dir / "logfile.txt").find("ZXML"), std::string::npos);

  // A plain length larger than the text: only the inflated bytes are parsed.
  std::string roomy = with(8, static_cast<uint32_t>(plain.size() + 100));
  TXmlNode extra;
  extra.LoadBuffer(roomy.data(), roomy.size());
  EXPECT_EQ(Text(extra.ToString()), Text(root.ToString()));
}

TEST(Xml, HostileInputStaysBounded) {
  TTempDir dir;
  SetLogDirectory(dir.Path().c_str());
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<a>";
  TXmlNode root;
  root.LoadBuffer(deep.c_str());  // must not exhaust the stack
  int depth = 0;
  for (TXmlNode* node = root.FindChild("a"); node; node = node->FindChild("a")) ++depth;
  EXPECT_EQ(depth, kXmlMaxDepth + 1);

  // A UTF-8 lead byte at the very end takes only the bytes that are there.
  const char cut[] = {'<', 't', '>', 'x', '\xf0'};
  TXmlNode truncated;
  truncated.LoadBuffer(cut, sizeof cut);
  EXPECT_EQ(Text(truncated.FindChild("t")->GetText()), "x\xf0");
}

TEST(Xml, RemovingTheChildUnderTheCursor) {
  TXmlNode root;
  root.LoadBuffer("<a/><b/><c/><d/>");
  TString name;
  TXmlNode* child = nullptr;
  root.ResetChildIterator();
  ASSERT_TRUE(root.GetNextChild(&name, &child));
  EXPECT_EQ(Text(name), "a");
  root.RemoveChild(root.FindChild("b"));  // the one the cursor gives next
  root.RemoveChild(child);                // the one it gave
  root.RemoveChild(nullptr);
  ASSERT_TRUE(root.GetNextChild(&name, &child));
  EXPECT_EQ(Text(name), "c");
  ASSERT_TRUE(root.GetNextChild(&name, &child));
  EXPECT_EQ(Text(name), "d");
  EXPECT_FALSE(root.GetNextChild(&name, &child));
}

TEST(Xml, FilesLoosePackagedAndZxmlReadAlike) {
  TTempDir dir;
  std::filesystem::create_directories(dir / "assets");
  const std::string text = "<\xc3\xa9l\xc3\xa9ment a=\"1\">\r\nline\r\n</\xc3\xa9l\xc3\xa9ment>";
  std::string package, error;
  ASSERT_TRUE(
      BuildPackage({{"packed.xml", text}, {"zipped.xml", MakeZxml(text)}}, &package, &error));
  WriteWholeFile(dir / "assets/data.tvp", package);
  WriteWholeFile(dir / "assets/loose.xml", text);
  SetProgramFolder(dir.Path().c_str());
  SetDataFolders(dir.Path().c_str(), dir.Path().c_str());
  ClearFileIndex();
  MountFileSystem();
  TXmlNode memory;
  memory.LoadBuffer(text.c_str());
  std::string expected = Text(memory.ToString());
  EXPECT_NE(expected.find("<\xc3\xa9l\xc3\xa9ment"), std::string::npos);
  for (const char* name : {"loose.xml", "packed.xml", "zipped.xml"}) {
    TXmlNode root;
    root.LoadFile(name);
    EXPECT_EQ(Text(root.ToString()), expected) << name;
  }
  TXmlNode none;
  none.LoadFile("missing.xml");
  EXPECT_EQ(none.GetChildCount(), 0);
}
