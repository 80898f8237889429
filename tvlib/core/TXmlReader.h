// The forgiving XML tokenizer and parser behind TXmlNode::LoadBuffer. Reads bytes in memory
// and never past their end; builds through the node's hooks.
#pragma once

#include <cstddef>
#include <string>

class TXmlNode;

// Parses `size` bytes of XML text as the content of `node`.
void ParseXml(TXmlNode* node, const char* text, size_t size);
