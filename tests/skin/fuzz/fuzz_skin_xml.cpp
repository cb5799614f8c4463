// Fuzz target: skin markup from bytes in every encoding, then a walk over the
// whole tree with every node query.
#include <cstddef>
#include <cstdint>

#include "ui/skin/skin_xml.h"

namespace {

void Walk(const SkinUI::CSkinXmlNode& first, unsigned budget) {
    unsigned visited = 0;
    // Iterative pre-order walk through the links, so deep trees are fine.
    SkinUI::CSkinXmlNode node = first;
    while (node.IsValid() && visited++ < budget) {
        volatile size_t sink = SkinUI::UiStrLen(node.Name()) + SkinUI::UiStrLen(node.Text());
        const int count = node.AttributeCount();
        for (int i = -1; i <= count; ++i) {
            sink = sink + SkinUI::UiStrLen(node.AttributeName(i)) + SkinUI::UiStrLen(node.AttributeValue(i));
        }
        if (count > 0) {
            SkinUI::UiChar buffer[9] = {};
            node.CopyAttributeValue(node.AttributeName(0), buffer, 8);
            sink = sink + SkinUI::UiStrLen(node.AttributeValue(node.AttributeName(count - 1)));
        }
        (void)sink;
        if (node.HasChildren()) {
            node = node.FirstChild();
            continue;
        }
        while (node.IsValid() && !node.HasNextSibling()) node = node.ParentNode();
        if (node.IsValid()) node = node.NextSibling();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the encoding; the rest is the document.
    const auto encoding = static_cast<SkinUI::SkinTextEncoding>(data[0] % 3);
    SkinUI::CSkinXml doc;
    if (doc.ParseBytes(data + 1, size - 1, encoding)) Walk(doc.RootNode(), 100000);
    // Loading again into the same document must behave like a fresh one.
    if (doc.ParseBytes(data + 1, size - 1, SkinUI::SkinTextEncoding::kUtf8)) Walk(doc.RootNode(), 100000);
    return 0;
}
