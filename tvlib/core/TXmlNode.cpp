// The XML tree's elements, attributes and writer.
#include "tvlib/core/TXmlNode.h"

#include <algorithm>
#include <cstring>

#include "tvlib/core/TFile.h"
#include "tvlib/core/TXmlEntities.h"
#include "tvlib/core/TXmlReader.h"
#include "tvlib/core/TZxml.h"

namespace {

// The writer's text starts this large, so small documents never reallocate.
constexpr size_t kWriterReserve = 4096;
// Larger files are not read as XML documents.
constexpr int kMaxXmlFile = 64 << 20;

}  // namespace

void TXmlNode::LoadFile(const TString& name) {
  // Plain text is read in text mode, so carriage returns never reach the parser; a ZXML
  // document must be read again in binary.
  std::string bytes;
  if (!FileReadAll(name.c_str(), kFileReadText, kMaxXmlFile, &bytes)) return;
  if (IsZxml(bytes.data(), bytes.size()) &&
      !FileReadAll(name.c_str(), kFileReadBinary, kMaxXmlFile, &bytes))
    return;
  LoadBuffer(bytes.data(), bytes.size());
}

void TXmlNode::LoadBuffer(const void* bytes, size_t size) {
  if (!IsZxml(bytes, size)) {
    ParseXml(this, static_cast<const char*>(bytes), size);
    return;
  }
  std::string plain;
  if (InflateZxml(bytes, size, "document", &plain)) ParseXml(this, plain.data(), plain.size());
}

void TXmlNode::LoadBuffer(const char* text) {
  if (text) LoadBuffer(text, std::strlen(text));
}

TXmlNode* TXmlNode::FindChild(const TString& name) const {
  for (const auto& child : mChildren)
    if (child->mName == name) return child.get();
  return nullptr;
}

TString TXmlNode::GetAttribute(const TString& name, unsigned char* quoted) const {
  for (const TXmlAttribute& attribute : mAttributes) {
    if (attribute.name == name) {
      if (quoted) *quoted = attribute.quoted;
      return attribute.value;
    }
  }
  return TString();
}

void TXmlNode::SetAttribute(const TString& name, const TString& value) {
  for (TXmlAttribute& attribute : mAttributes) {
    if (attribute.name == name) {
      attribute.value = value;
      attribute.quoted = 1;
      return;
    }
  }
  mAttributes.push_back({name, value, 1});
}

void TXmlNode::SetAttributeInt(const TString& name, int value) {
  SetAttribute(name, TString::Format("%d", value));
}

TXmlNode* TXmlNode::AddChild(const TString& name) {
  mChildren.push_back(std::make_unique<TXmlNode>(name));
  return mChildren.back().get();
}

void TXmlNode::RemoveChild(TXmlNode* child) {
  if (!child) return;
  for (size_t i = mChildren.size(); i-- > 0;) {
    if (mChildren[i].get() != child) continue;
    mChildren.erase(mChildren.begin() + static_cast<std::ptrdiff_t>(i));
    if (i < mCursor) --mCursor;  // the cursor stays on the child it was about to give
  }
}

bool TXmlNode::GetNextChild(TString* name, TXmlNode** child) {
  if (mCursor >= mChildren.size()) return false;
  TXmlNode* next = mChildren[mCursor++].get();
  if (name) *name = next->mName;
  if (child) *child = next;
  return true;
}

void TXmlNode::AppendText(const char* text, int length) {
  if (mTextLength > 0) mTextLength = mText.WriteAt(mTextLength, " ", 1, true);
  mTextLength = mText.WriteAt(mTextLength, text, std::max(length, 0), true);
}

void TXmlNode::AddAttribute(const TString& name, const TString& value, unsigned char quoted) {
  mAttributes.push_back({name, value, quoted});
}

TString TXmlNode::ToString() const {
  std::string out;
  out.reserve(kWriterReserve);
  Write(&out, 0);
  return TString(out.data(), static_cast<int>(out.size()));
}

void TXmlNode::Write(std::string* out, int indent) const {
  std::string pad(static_cast<size_t>(indent), ' ');
  *out += pad + "<" + mName.c_str();
  for (const TXmlAttribute& attribute : mAttributes) {
    *out += "\n" + pad + "    ";
    AppendEscapedXml(out, attribute.name.c_str());
    *out += "=";
    if (attribute.quoted == 1) *out += "\"";
    AppendEscapedXml(out, attribute.value.c_str());
    if (attribute.quoted == 1) *out += "\"";
  }
  *out += ">\n";
  if (mTextLength != 0) {
    *out += pad;
    AppendEscapedXml(out, mText.c_str());
    *out += "\n";
  }
  for (const auto& child : mChildren) child->Write(out, indent + 4);
  *out += pad + "</";
  AppendEscapedXml(out, mName.c_str());
  *out += ">\n";
}
