// CSkinXml: the parser of skin markup, and CSkinXmlNode, a handle on one of
// its elements.
//
// The parse works in place on one UTF-16 buffer the document owns: names,
// attribute values and texts stay where they are and are cut out by writing
// terminators into the buffer; entity references are decoded by moving the
// following characters left. The structure is a flat table of element records
// that refer to the buffer by character offsets. Attributes are not stored at
// parse time; a node re-reads them from the buffer on its first attribute
// query.
//
// The dialect is a small XML subset: elements, double-quoted attributes, the
// five predefined entities, comments and processing instructions (skipped).
// Mixed content, single quotes, CDATA and character references are not
// supported. A document may end inside its first element or one of that
// element's children.
#pragma once

#include <cstddef>
#include <cstdint>

#include "ui/core/ui_char.h"

namespace SkinUI {

class CSkinXml;

// One element of the flat table. Index 0 is reserved and means "none" in the
// three link fields.
struct XmlElementRecord {
    uint32_t namePos;      // character offset of the element name
    uint32_t firstChild;   // element index
    uint32_t nextSibling;  // element index
    uint32_t parent;       // element index
    uint32_t textPos;      // character offset of the element's text
};

// How ParseBytes / ParseFile read bytes.
enum class SkinTextEncoding : int {
    kUtf8 = 0,   // optional EF BB BF byte-order mark
    kUtf16 = 1,  // byte-order mark FF FE or FE FF required
    kAnsi = 2,   // the system's ANSI code page
};

// Handle on one element. Cheap to copy; valid only while its document keeps
// the content it was taken from (a new load or Clear invalidates it). Every
// query on an invalid node gives null, 0, false or an invalid node.
class CSkinXmlNode {
public:
    static constexpr int kMaxAttributes = 64;

    CSkinXmlNode() = default;

    bool IsValid() const { return doc_ != nullptr; }
    CSkinXmlNode FirstChild() const;
    CSkinXmlNode NextSibling() const;
    CSkinXmlNode ParentNode() const;
    // First child whose name equals name exactly (case-sensitive).
    CSkinXmlNode ChildNamed(const UiChar* name) const;
    bool HasChildren() const;
    bool HasNextSibling() const;

    const UiChar* Name() const;
    // Character data between the start tag and the first child or end tag;
    // empty for "/>" elements.
    const UiChar* Text() const;

    // At most kMaxAttributes, in document order.
    int AttributeCount() const;
    // Empty string for an index outside 0 .. count - 1.
    const UiChar* AttributeName(int index) const;
    const UiChar* AttributeValue(int index) const;
    // Value of the first attribute with exactly this name; empty when absent.
    const UiChar* AttributeValue(const UiChar* name) const;
    // Copies at most max characters and a terminator, so the buffer must hold
    // max + 1. False when the index is out of range or the name is absent.
    bool CopyAttributeValue(int index, UiChar* buffer, int max) const;
    bool CopyAttributeValue(const UiChar* name, UiChar* buffer, int max) const;
    bool HasAttributes() const;
    bool HasAttribute(const UiChar* name) const;

private:
    friend class CSkinXml;
    CSkinXmlNode(const CSkinXml* doc, uint32_t index) : index_(index), doc_(doc) {}
    const XmlElementRecord& Record() const;
    void MapAttributes() const;
    int FindAttribute(const UiChar* name) const;

    struct AttributeEntry {
        uint32_t namePos;
        uint32_t valuePos;
    };
    uint32_t index_ = 0;
    mutable int attributeCount_ = 0;
    mutable bool attributesMapped_ = false;
    mutable AttributeEntry attributes_[kMaxAttributes];
    const CSkinXml* doc_ = nullptr;
};

class CSkinXml {
public:
    static constexpr int kErrorMessageSize = 100;      // characters, terminator included
    static constexpr int kErrorLocationSize = 50;      // characters, terminator included
    static constexpr uint32_t kMaxFileSize = 4194304;  // bytes, for ParseFile

    CSkinXml();
    // Parses text at once (see ParseText).
    explicit CSkinXml(const UiChar* text);
    CSkinXml(const CSkinXml&) = delete;
    CSkinXml& operator=(const CSkinXml&) = delete;
    ~CSkinXml();

    // Drops the content, copies text and parses it. On failure the content is
    // dropped and the error message and location describe the failure.
    bool ParseText(const UiChar* text);
    // Converts bytes to UTF-16 and parses them.
    bool ParseBytes(const void* bytes, size_t length, SkinTextEncoding encoding = SkinTextEncoding::kUtf8);
    // Reads a skin file from the skin folder or the skin archive (see
    // SkinSources) and parses it.
    bool ParseFile(const UiChar* name, SkinTextEncoding encoding = SkinTextEncoding::kUtf8);
    // Releases text and element table; the document may be loaded anew.
    void Clear();

    bool IsValid() const { return elementCount_ > 1; }
    // Element 1 (the first top-level element), or an invalid node.
    CSkinXmlNode RootNode() const;
    // Records in use, the reserved record 0 included (0 for an empty document).
    uint32_t ElementCount() const { return elementCount_; }

    // Copy the last error message / location, lstrcpyn-style: at most max - 1
    // characters and a terminator (nothing when max is 0).
    void ErrorMessage(UiChar* buffer, int max) const;
    void ErrorLocation(UiChar* buffer, int max) const;
    const UiChar* ErrorMessageText() const { return errorMessage_; }
    const UiChar* ErrorLocationText() const { return errorLocation_; }

private:
    friend class CSkinXmlNode;

    // Zero characters after the text's terminator, so the parser may read
    // the text in blocks of eight.
    static constexpr size_t kTextPadding = 8;

    // Takes ownership of a new[] buffer holding a terminated text and parses it.
    bool ParseOwnedText(UiChar* text);
    bool Parse();
    bool Fail(const UiChar* message, const UiChar* location);
    bool FailLoad(const UiChar* message);  // a load failure: empty location
    bool ParseAttributes(UiChar*& p, bool* slashTerminatesName);
    uint32_t AppendElement();

    UiChar* text_ = nullptr;
    XmlElementRecord* elements_ = nullptr;
    uint32_t elementCount_ = 0;
    uint32_t capacity_ = 0;
    UiChar errorMessage_[kErrorMessageSize] = {};
    UiChar errorLocation_[kErrorLocationSize] = {};
};

}  // namespace SkinUI
