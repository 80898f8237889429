// The engine's XML tree: elements with text, attributes and children, a forgiving reader
// and the writer.
//
// The reader accepts whatever the game's files hold and never reports an error: malformed
// text gives whatever the tokenizer makes of it, an unterminated tag or quote ends at the end
// of the input, and an end tag closes the current element whatever its name. Declarations
// ("?xml"), document types ("!DOCTYPE") and comments ("!--...") stay in the tree as childless
// elements. Text is collapsed: whitespace runs become one blank, quotes around text vanish.
// ZXML documents are recognised by their magic and inflated first. Nesting is capped at
// kXmlMaxDepth; what lies deeper is dropped with a log line. UI thread only.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "tvlib/core/TString.h"

inline constexpr int kXmlMaxDepth = 256;  // keeps a hostile document off the stack's limit

struct TXmlAttribute {
  TString name;
  TString value;
  unsigned char quoted;  // 1 when written between double quotes (always, when set by code)
};

class TXmlNode {
 public:
  TXmlNode() = default;
  explicit TXmlNode(const TString& name) : mName(name) {}
  virtual ~TXmlNode() = default;
  TXmlNode(const TXmlNode&) = delete;
  TXmlNode& operator=(const TXmlNode&) = delete;

  // Parses a file of the file layer (plain XML read as text, or ZXML) into this node.
  void LoadFile(const TString& name);
  // Parses bytes in memory: ZXML when they begin with its magic, else XML text.
  void LoadBuffer(const void* bytes, size_t size);
  void LoadBuffer(const char* text);

  // The first child of that name, or null.
  TXmlNode* FindChild(const TString& name) const;
  // The first attribute's value, or empty (then `quoted` is untouched).
  TString GetAttribute(const TString& name, unsigned char* quoted = nullptr) const;
  void SetAttribute(const TString& name, const TString& value);
  void SetAttributeInt(const TString& name, int value);
  TXmlNode* AddChild(const TString& name);
  // Removes and deletes the child; the child cursor keeps its place among the others.
  void RemoveChild(TXmlNode* child);
  void ResetChildIterator() { mCursor = 0; }
  // The child at the cursor and its name, then advances; false at the end.
  bool GetNextChild(TString* name, TXmlNode** child);
  TString GetText() const { return mText; }
  const TString& GetName() const { return mName; }
  int GetChildCount() const { return static_cast<int>(mChildren.size()); }
  int GetAttributeCount() const { return static_cast<int>(mAttributes.size()); }
  const TXmlAttribute& GetAttributeAt(int i) const { return mAttributes[static_cast<size_t>(i)]; }
  // This node and its subtree as text; every element gets an end tag.
  TString ToString() const;

  // Hooks the reader calls; subclasses may build other trees.
  virtual TXmlNode* AddChildHook(const TString& name) { return AddChild(name); }
  virtual void OnEndTag(const TString& name) { (void)name; }
  // Appends character data, after one blank when text is already there.
  virtual void AppendText(const char* text, int length);
  virtual void AddAttribute(const TString& name, const TString& value, unsigned char quoted);

 private:
  void Write(std::string* out, int indent) const;

  TString mText;
  int mTextLength = 0;
  TString mName;
  std::vector<std::unique_ptr<TXmlNode>> mChildren;
  size_t mCursor = 0;
  std::vector<TXmlAttribute> mAttributes;
};
