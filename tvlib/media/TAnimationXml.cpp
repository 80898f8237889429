// The XML animation document: sequence, img, framelist of frames with anchors, script.
#include <cstdlib>

#include "tvlib/core/TXmlNode.h"
#include "tvlib/media/TAnimation.h"

namespace {

// Up to `count` floats separated by blanks; reading stops at the end of the text.
void ReadFloats(const TString& text, float* out, int count) {
  const char* p = text.c_str();
  for (int i = 0; i < count; ++i) {
    char* end = nullptr;
    const float v = std::strtof(p, &end);
    if (end == p) return;
    out[i] = v;
    p = end;
  }
}

int IntAttribute(const TXmlNode& node, const char* name) {
  return node.GetAttribute(name).ToInt();
}

// The children of `parent` named `name`, in document order.
std::vector<TXmlNode*> ChildrenNamed(TXmlNode& parent, const char* name) {
  std::vector<TXmlNode*> out;
  parent.ResetChildIterator();
  TString childName;
  TXmlNode* child = nullptr;
  while (parent.GetNextChild(&childName, &child))
    if (childName == name) out.push_back(child);
  return out;
}

void ReadFrame(TXmlNode& node, const TAnimFrame* previous, TAnimFrame* frame) {
  frame->name = node.GetAttribute("name");
  frame->x = IntAttribute(node, "x");
  frame->y = IntAttribute(node, "y");
  frame->width = IntAttribute(node, "w");
  frame->height = IntAttribute(node, "h");
  if (node.GetAttribute("regx").Length() > 0) {
    frame->regX = IntAttribute(node, "regx");
    frame->regY = IntAttribute(node, "regy");
  } else if (previous) {
    frame->regX = previous->regX;
    frame->regY = previous->regY;
  }
  const TString xform = node.GetAttribute("xform");
  if (xform.Length() > 0) {
    ReadFloats(xform, frame->transform, 6);
  } else if (previous) {
    for (int i = 0; i < 6; ++i) frame->transform[i] = previous->transform[i];
  }
  for (TXmlNode* anchor : ChildrenNamed(node, "anchor")) {
    frame->anchors.push_back(TAnimAnchor{anchor->GetAttribute("name"), IntAttribute(*anchor, "x"),
                                         IntAttribute(*anchor, "y")});
  }
}

}  // namespace

bool ReadAnimationXml(const TXmlNode& document, TAnimation* out) {
  TXmlNode* sequence = document.FindChild("sequence");
  if (!sequence) return false;
  out->sequenceName = sequence->GetAttribute("name");
  out->sequenceSource = sequence->GetAttribute("source");
  bool ok = true;

  if (TXmlNode* img = sequence->FindChild("img")) {
    if (img->GetAttribute("regx").Length() > 0) {
      out->regX = IntAttribute(*img, "regx");
      out->regY = IntAttribute(*img, "regy");
    }
    const TString xform = img->GetAttribute("xform");
    if (xform.Length() > 0) ReadFloats(xform, out->imageTransform, 4);
    out->width = IntAttribute(*img, "w");
    out->height = IntAttribute(*img, "h");
    out->imageName = img->GetAttribute("name");
    out->maskName = img->GetAttribute("mask");
  } else {
    ok = false;
  }

  if (TXmlNode* list = sequence->FindChild("framelist")) {
    const std::vector<TXmlNode*> nodes = ChildrenNamed(*list, "frame");
    out->frames.assign(nodes.size(), TAnimFrame{});
    for (size_t i = 0; i < nodes.size(); ++i) {
      TAnimFrame& frame = out->frames[i];
      ReadFrame(*nodes[i], i > 0 ? &out->frames[i - 1] : nullptr, &frame);
      if (frame.width > out->maxWidth) out->maxWidth = frame.width;
      if (frame.height > out->maxHeight) out->maxHeight = frame.height;
    }
  } else {
    ok = false;
  }

  if (TXmlNode* script = sequence->FindChild("script")) {
    out->script = script->GetAttribute("luascript");
    if (out->script.Length() == 0) out->script = script->GetText();
  } else {
    out->script = MakeDefaultAnimationScript(static_cast<int>(out->frames.size()));
  }
  return ok;
}
