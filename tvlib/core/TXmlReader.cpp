// The forgiving XML tokenizer and tree builder.
#include "tvlib/core/TXmlReader.h"

#include <algorithm>
#include <string_view>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TXmlEntities.h"
#include "tvlib/core/TXmlNode.h"

namespace {

struct TToken {
  std::string text;
  bool quoted = false;
  bool fromEntity = false;  // the first byte came from a character reference
};

bool IsSpace(unsigned char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}
bool IsDelimiter(unsigned char c) {
  return c == '<' || c == '>' || c == '=';
}

class TXmlReader {
 public:
  TXmlReader(const char* text, size_t size)
      : mText(reinterpret_cast<const unsigned char*>(text)), mSize(size) {}

  // element content: { tag | text }, up to the end tag that closes it.
  void ParseChildren(TXmlNode* node, int depth) {
    if (depth > kXmlMaxDepth) {
      if (!mTooDeep)
        DebugLog("XML nested deeper than %d levels; the rest is ignored", kXmlMaxDepth);
      mTooDeep = true;
      mPosition = mSize;
      return;
    }
    TToken token;
    while (ReadToken(&token)) {
      if (token.text[0] == '<' && !token.fromEntity) {
        bool endTag = false;
        TXmlNode* special = nullptr;
        TXmlNode* child = ParseTag(node, &endTag, &special);
        if (endTag) return;
        if (child) ParseChildren(child, depth + 1);
        if (special) SkipEndTagOf(special->GetName());
      } else {
        node->AppendText(token.text.data(), static_cast<int>(token.text.size()));
      }
    }
  }

 private:
  // The writer gives every element an end tag, declarations and comments too; an end tag
  // right after one of those belongs to it and must not close the enclosing element.
  void SkipEndTagOf(const TString& name) {
    size_t saved = mPosition;
    TToken token;
    if (ReadToken(&token) && token.text == "<" && ReadToken(&token) && !token.quoted &&
        token.text == std::string("/") + name.c_str() && ReadToken(&token) && token.text == ">")
      return;
    mPosition = saved;
  }

  // tag: name { attribute [ "=" value ] } ">". Gives the new child when its content follows;
  // `special` receives a declaration, document type or comment, which has no content.
  TXmlNode* ParseTag(TXmlNode* parent, bool* endTag, TXmlNode** special) {
    enum { kName, kInside, kValue } state = kName;
    TXmlNode* child = nullptr;
    bool isSpecial = false;
    TString pending;
    TToken token;
    while (ReadToken(&token)) {
      bool plain = !token.quoted && !token.fromEntity;
      if (plain && token.text == ">") {
        if (*endTag || !child) return nullptr;
        const char* name = pending.c_str();
        if (isSpecial || name[0] == '/' || name[0] == '?') {
          child->OnEndTag(child->GetName());
          if (isSpecial) *special = child;
          return nullptr;
        }
        return child;
      }
      if (state == kName) {
        TString name(token.text.c_str());
        if (token.text[0] == '/') {
          *endTag = true;
          parent->OnEndTag(name.Substr(1));
        } else {
          child = parent->AddChildHook(name);
          isSpecial = token.text == "?xml" || token.text == "!DOCTYPE" ||
                      token.text.compare(0, 3, "!--") == 0;
        }
        state = kInside;
      } else if (state == kInside) {
        if (plain && token.text == "=")
          state = kValue;
        else
          pending = token.text.c_str();
      } else {
        if (child) child->AddAttribute(pending, token.text.c_str(), token.quoted ? 1 : 0);
        pending = TString();
        state = kInside;
      }
    }
    return child;  // the input ended inside the tag
  }

  // Length of the character at mPosition: a UTF-8 lead byte carries its continuation bytes
  // (unchecked), cut short at the end of the input.
  size_t CharLength(size_t at) const {
    unsigned char c = mText[at];
    size_t length = c >= 240 ? 4 : c >= 224 ? 3 : c >= 192 ? 2 : 1;
    return std::min(length, mSize - at);
  }

  bool ReadToken(TToken* token) {
    token->text.clear();
    token->quoted = token->fromEntity = false;
    while (mPosition < mSize && IsSpace(mText[mPosition])) ++mPosition;
    if (mPosition >= mSize) return false;
    unsigned char first = mText[mPosition];
    size_t start = mPosition;
    if (IsDelimiter(first)) {
      token->text.assign(1, static_cast<char>(first));
      ++mPosition;
      return true;
    }
    if (first == '"') {
      start = ++mPosition;
      while (mPosition < mSize && mText[mPosition] != '"') mPosition += CharLength(mPosition);
      size_t end = mPosition;
      if (mPosition < mSize) ++mPosition;  // the closing quote
      token->quoted = true;
      Decode(start, end, token);
      return true;
    }
    while (mPosition < mSize && !IsSpace(mText[mPosition]) && !IsDelimiter(mText[mPosition]))
      mPosition += CharLength(mPosition);
    size_t end = mPosition;
    // "name/>" gives "name", "/" and ">", so an empty-element tag closes.
    if (mPosition < mSize && mText[mPosition] == '>' && end - start > 1 && mText[end - 1] == '/')
      mPosition = --end;
    Decode(start, end, token);
    return true;
  }

  void Decode(size_t start, size_t end, TToken* token) {
    std::string_view raw(reinterpret_cast<const char*>(mText) + start, end - start);
    token->text = DecodeXmlEntities(raw, &token->fromEntity);
  }

  const unsigned char* mText;
  size_t mSize;
  size_t mPosition = 0;
  bool mTooDeep = false;
};

}  // namespace

void ParseXml(TXmlNode* node, const char* text, size_t size) {
  if (!text) return;
  TXmlReader(text, size).ParseChildren(node, 0);
}
