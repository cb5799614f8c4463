#include "ui/skin/skin_xml.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/skin/xml_char_class.h"

#if defined(__SSE2__) && !defined(SKINUI_NO_SIMD)
#include <emmintrin.h>
#endif

namespace SkinUI {

namespace {

const UiChar kEmpty[] = {0};

inline void SkipSpace(UiChar*& p) {
    while (xml::IsSpace(*p)) ++p;
}

inline void SkipName(UiChar*& p) {
    while (xml::IsNameChar(*p)) ++p;
}

// Length of a predefined entity reference at p ("&amp;" ...) and its
// character, or 0.
int MatchEntity(const UiChar* p, UiChar* decoded) {
    switch (p[1]) {
        case 'a':
            if (p[2] == 'm' && p[3] == 'p' && p[4] == ';') return *decoded = '&', 5;
            if (p[2] == 'p' && p[3] == 'o' && p[4] == 's' && p[5] == ';') return *decoded = '\'', 6;
            return 0;
        case 'l':
            if (p[2] == 't' && p[3] == ';') return *decoded = '<', 4;
            return 0;
        case 'g':
            if (p[2] == 't' && p[3] == ';') return *decoded = '>', 4;
            return 0;
        case 'q':
            if (p[2] == 'u' && p[3] == 'o' && p[4] == 't' && p[5] == ';') return *decoded = '"', 6;
            return 0;
        default:
            return 0;
    }
}

// First character at or after p that is the delimiter, "&" or the
// terminator.
inline UiChar* ScanToStop(UiChar* p, UiChar delimiter) {
#if defined(__SSE2__) && !defined(SKINUI_NO_SIMD)
    // Eight characters at a time; the text buffer is padded so a block that
    // holds the terminator stays inside it.
    const __m128i stop = _mm_set1_epi16(static_cast<short>(delimiter));
    const __m128i amp = _mm_set1_epi16('&');
    const __m128i zero = _mm_setzero_si128();
    for (;;) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hits = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi16(v, stop), _mm_cmpeq_epi16(v, amp)),
                                          _mm_cmpeq_epi16(v, zero));
        const int mask = _mm_movemask_epi8(hits);
        if (mask != 0) return p + __builtin_ctz(static_cast<unsigned>(mask)) / 2;
        p += 8;
    }
#else
    for (;;) {
        const UiChar c = *p;
        if (c == delimiter || c == '&' || c == 0) return p;
        ++p;
    }
#endif
}

// Reads character data up to delimiter or the end of the text, decoding
// entity references in place. On return p is at the delimiter (or the
// terminator) and the result is the decoded end. When decoding shortened the
// data, the data is terminated at its decoded end and the gap up to p is
// filled with spaces.
UiChar* ParseData(UiChar*& p, UiChar delimiter) {
    p = ScanToStop(p, delimiter);
    if (*p != '&') return p;
    // From the first "&" on, the characters move left by what decoding saved.
    UiChar* dst = p;
    while (*p == '&') {
        UiChar decoded;
        const int n = MatchEntity(p, &decoded);
        if (n != 0) {
            *dst++ = decoded;
            p += n;
        } else {
            *dst++ = *p++;
        }
        UiChar* next = ScanToStop(p, delimiter);
        const size_t run = static_cast<size_t>(next - p);
        if (dst != p) std::memmove(dst, p, run * sizeof(UiChar));
        dst += run;
        p = next;
    }
    if (dst != p) {
        *dst = 0;
        for (UiChar* q = dst + 1; q < p; ++q) *q = ' ';
    }
    return dst;
}

// Steps over a comment ("!", up to "->") or processing instruction ("?", up to
// "?>"), or to the end of the text.
void SkipMarkupDeclaration(UiChar*& p) {
    UiChar closer = (*p == '!') ? UiChar('-') : UiChar('?');
    ++p;
    while (*p != 0 && !(p[0] == closer && p[1] == '>')) ++p;
    if (*p != 0) p += 2;
}

void CopyTruncated(UiChar* dst, int size, const UiChar* src) {
    int i = 0;
    if (src != nullptr) {
        for (; i < size - 1 && src[i] != 0; ++i) dst[i] = src[i];
    }
    dst[i] = 0;
}

}  // namespace

// ---------------------------------------------------------------------------
// CSkinXml

CSkinXml::CSkinXml() = default;

CSkinXml::CSkinXml(const UiChar* text) {
    ParseText(text);
}

CSkinXml::~CSkinXml() {
    Clear();
}

void CSkinXml::Clear() {
    delete[] text_;
    text_ = nullptr;
    std::free(elements_);
    elements_ = nullptr;
    elementCount_ = 0;
    capacity_ = 0;
}

bool CSkinXml::ParseText(const UiChar* text) {
    size_t length = UiStrLen(text);
    UiChar* copy = new UiChar[length + 1 + kTextPadding];
    if (length != 0) std::memcpy(copy, text, length * sizeof(UiChar));
    std::memset(copy + length, 0, (1 + kTextPadding) * sizeof(UiChar));
    return ParseOwnedText(copy);
}

bool CSkinXml::ParseOwnedText(UiChar* text) {
    Clear();
    text_ = text;
    if (Parse()) return true;
    Clear();
    return false;
}

CSkinXmlNode CSkinXml::RootNode() const {
    if (elementCount_ <= 1) return CSkinXmlNode();
    return CSkinXmlNode(this, 1);
}

void CSkinXml::ErrorMessage(UiChar* buffer, int max) const {
    if (buffer != nullptr && max > 0) CopyTruncated(buffer, max, errorMessage_);
}

void CSkinXml::ErrorLocation(UiChar* buffer, int max) const {
    if (buffer != nullptr && max > 0) CopyTruncated(buffer, max, errorLocation_);
}

bool CSkinXml::Fail(const UiChar* message, const UiChar* location) {
    CopyTruncated(errorMessage_, kErrorMessageSize, message);
    CopyTruncated(errorLocation_, kErrorLocationSize, location);
    return false;
}

bool CSkinXml::FailLoad(const UiChar* message) {
    Clear();
    return Fail(message, kEmpty);
}

uint32_t CSkinXml::AppendElement() {
    if (elementCount_ == capacity_) {
        uint64_t capacity = capacity_ == 0 ? 500 : uint64_t(capacity_) + capacity_ / 2 + 500;
        if (capacity > UINT32_MAX / sizeof(XmlElementRecord)) return 0;
        void* grown = std::realloc(elements_, static_cast<size_t>(capacity) * sizeof(XmlElementRecord));
        if (grown == nullptr) return 0;
        elements_ = static_cast<XmlElementRecord*>(grown);
        capacity_ = static_cast<uint32_t>(capacity);
    }
    elements_[elementCount_] = XmlElementRecord{0, 0, 0, 0, 0};
    return elementCount_++;
}

// Attributes start right after the element name. A "/" directly after the
// name is overwritten by the name's terminator; *slashTerminatesName tells the
// caller, which then still reads the following ">" as the end of "/>".
bool CSkinXml::ParseAttributes(UiChar*& p, bool* slashTerminatesName) {
    *slashTerminatesName = false;
    if (*p == '>') return true;
    *slashTerminatesName = (*p == '/');
    *p = 0;
    for (;;) {
        ++p;
        SkipSpace(p);
        if (*p == 0 || *p == '>' || *p == '/') return true;
        UiChar* nameEnd = p;
        SkipName(nameEnd);
        p = nameEnd;
        SkipSpace(p);
        if (*p != '=') return Fail(UI_TEXT("Error while parsing attributes"), p);
        *p = ' ';
        *nameEnd = 0;
        ++p;
        SkipSpace(p);
        if (*p != '"') return Fail(UI_TEXT("Expected attribute value"), p);
        ++p;
        UiChar* decodedEnd = ParseData(p, '"');
        if (*p == 0) return Fail(UI_TEXT("Error while parsing attribute string"), p);
        // The closing quote becomes the terminator, or a space when the
        // terminator already sits at the decoded end.
        *p = (decodedEnd == p) ? UiChar(0) : UiChar(' ');
    }
}

// The element tree is walked with an explicit stack rather than recursion, so
// a deeply nested document cannot exhaust the thread's stack.
bool CSkinXml::Parse() {
    errorMessage_[0] = 0;
    errorLocation_[0] = 0;
    if (AppendElement() != 0) return Fail(UI_TEXT("Out of memory"), text_);

    struct Sequence {
        uint32_t parent;      // element whose children this sequence holds; 0 at top level
        uint32_t last;        // last element appended to this sequence
        uint32_t nameLength;  // of the parent's name, for its closing tag
    };
    std::vector<Sequence> stack;
    stack.push_back(Sequence{0, 0, 0});
    UiChar* p = text_;

    for (;;) {
        Sequence& seq = stack.back();
        const uint32_t parent = seq.parent;
        SkipSpace(p);
        if (*p == 0 && parent <= 1) return true;
        if (*p != '<') return Fail(UI_TEXT("Expected start tag"), p);

        if (p[1] != '/') {
            *p++ = 0;  // ends the text of whatever precedes
            SkipSpace(p);
            if (*p == '!' || *p == '?') {
                SkipMarkupDeclaration(p);
                continue;
            }
            const uint32_t index = AppendElement();
            if (index == 0) return Fail(UI_TEXT("Out of memory"), p);
            Sequence& current = stack.back();
            XmlElementRecord* rec = &elements_[index];
            rec->namePos = static_cast<uint32_t>(p - text_);
            rec->parent = parent;
            if (current.last != 0) {
                elements_[current.last].nextSibling = index;
            } else if (parent != 0) {
                elements_[parent].firstChild = index;
            }
            current.last = index;

            UiChar* const name = p;
            SkipName(p);
            if (*p == 0) return Fail(UI_TEXT("Error parsing element name"), p);
            UiChar* const nameEnd = p;
            const uint32_t nameLength = static_cast<uint32_t>(nameEnd - name);
            bool slashTerminatesName = false;
            if (!ParseAttributes(p, &slashTerminatesName)) return false;
            SkipSpace(p);
            rec = &elements_[index];
            if (p[0] == '/' && p[1] == '>') {
                rec->textPos = static_cast<uint32_t>(p - text_);
                *p = 0;
                p += 2;
                *nameEnd = 0;
                continue;
            }
            if (slashTerminatesName && *p == '>' && p == nameEnd + 1) {
                rec->textPos = static_cast<uint32_t>(nameEnd - text_);
                ++p;
                continue;
            }
            if (*p != '>') return Fail(UI_TEXT("Expected start-tag closing"), p);
            ++p;
            // The start tag is complete, so the ">" after a bare name may now
            // become its terminator; an unclosed last element keeps its name.
            *nameEnd = 0;
            rec->textPos = static_cast<uint32_t>(p - text_);
            ParseData(p, '<');
            if (*p == 0 && parent <= 1) return true;
            if (*p != '<') return Fail(UI_TEXT("Expected end-tag start"), p);
            if (p[1] != '/') {
                stack.push_back(Sequence{index, 0, nameLength});
                continue;
            }
            // "</" right after the text: close this element below.
            stack.push_back(Sequence{index, 0, nameLength});
        } else if (parent == 0) {
            // A closing tag at top level ends the document.
            return true;
        }

        // At "</" closing the sequence's parent element.
        const Sequence closing = stack.back();
        stack.pop_back();
        *p = 0;  // ends the parent's text
        p += 2;
        SkipSpace(p);
        const UiChar* name = text_ + elements_[closing.parent].namePos;
        for (uint32_t i = 0; i < closing.nameLength; ++i) {
            if (p[i] != name[i]) return Fail(UI_TEXT("Unmatched closing tag"), p);
        }
        p += closing.nameLength;
        SkipSpace(p);
        if (*p != '>') return Fail(UI_TEXT("Unmatched closing tag"), p);
        ++p;
    }
}

// ---------------------------------------------------------------------------
// CSkinXmlNode

const XmlElementRecord& CSkinXmlNode::Record() const {
    return doc_->elements_[index_];
}

CSkinXmlNode CSkinXmlNode::FirstChild() const {
    if (doc_ == nullptr || Record().firstChild == 0) return CSkinXmlNode();
    return CSkinXmlNode(doc_, Record().firstChild);
}

CSkinXmlNode CSkinXmlNode::NextSibling() const {
    if (doc_ == nullptr || Record().nextSibling == 0) return CSkinXmlNode();
    return CSkinXmlNode(doc_, Record().nextSibling);
}

CSkinXmlNode CSkinXmlNode::ParentNode() const {
    if (doc_ == nullptr || Record().parent == 0) return CSkinXmlNode();
    return CSkinXmlNode(doc_, Record().parent);
}

CSkinXmlNode CSkinXmlNode::ChildNamed(const UiChar* name) const {
    for (CSkinXmlNode child = FirstChild(); child.IsValid(); child = child.NextSibling()) {
        if (UiStrEq(child.Name(), name)) return child;
    }
    return CSkinXmlNode();
}

bool CSkinXmlNode::HasChildren() const {
    return doc_ != nullptr && Record().firstChild != 0;
}

bool CSkinXmlNode::HasNextSibling() const {
    return doc_ != nullptr && Record().nextSibling != 0;
}

const UiChar* CSkinXmlNode::Name() const {
    return doc_ == nullptr ? nullptr : doc_->text_ + Record().namePos;
}

const UiChar* CSkinXmlNode::Text() const {
    return doc_ == nullptr ? nullptr : doc_->text_ + Record().textPos;
}

// Re-reads the attributes from the parsed text: each is its name (terminated)
// followed, after spaces, by the opening quote of its value.
void CSkinXmlNode::MapAttributes() const {
    attributesMapped_ = true;
    attributeCount_ = 0;
    const UiChar* text = doc_->text_;
    const UiChar* end = text + Record().textPos;
    const UiChar* p = text + Record().namePos;
    p += UiStrLen(p) + 1;
    while (attributeCount_ < kMaxAttributes && p < end) {
        while (xml::IsSpace(*p)) ++p;
        if (p >= end || *p == 0 || *p == '>' || *p == '/') return;
        const UiChar* name = p;
        p += UiStrLen(p) + 1;
        while (xml::IsSpace(*p)) ++p;
        if (p >= end || *p != '"') return;
        ++p;
        attributes_[attributeCount_].namePos = static_cast<uint32_t>(name - text);
        attributes_[attributeCount_].valuePos = static_cast<uint32_t>(p - text);
        ++attributeCount_;
        p += UiStrLen(p) + 1;
    }
}

int CSkinXmlNode::AttributeCount() const {
    if (doc_ == nullptr) return 0;
    if (!attributesMapped_) MapAttributes();
    return attributeCount_;
}

const UiChar* CSkinXmlNode::AttributeName(int index) const {
    if (doc_ == nullptr) return nullptr;
    if (index < 0 || index >= AttributeCount()) return kEmpty;
    return doc_->text_ + attributes_[index].namePos;
}

const UiChar* CSkinXmlNode::AttributeValue(int index) const {
    if (doc_ == nullptr) return nullptr;
    if (index < 0 || index >= AttributeCount()) return kEmpty;
    return doc_->text_ + attributes_[index].valuePos;
}

int CSkinXmlNode::FindAttribute(const UiChar* name) const {
    int count = AttributeCount();
    for (int i = 0; i < count; ++i) {
        if (UiStrEq(doc_->text_ + attributes_[i].namePos, name)) return i;
    }
    return -1;
}

const UiChar* CSkinXmlNode::AttributeValue(const UiChar* name) const {
    if (doc_ == nullptr) return nullptr;
    int i = FindAttribute(name);
    return i < 0 ? kEmpty : doc_->text_ + attributes_[i].valuePos;
}

bool CSkinXmlNode::CopyAttributeValue(int index, UiChar* buffer, int max) const {
    if (doc_ == nullptr || index < 0 || index >= AttributeCount() || buffer == nullptr || max < 0)
        return false;
    const UiChar* value = doc_->text_ + attributes_[index].valuePos;
    int i = 0;
    for (; i < max && value[i] != 0; ++i) buffer[i] = value[i];
    buffer[i] = 0;
    return true;
}

bool CSkinXmlNode::CopyAttributeValue(const UiChar* name, UiChar* buffer, int max) const {
    if (doc_ == nullptr) return false;
    return CopyAttributeValue(FindAttribute(name), buffer, max);
}

bool CSkinXmlNode::HasAttributes() const {
    return AttributeCount() > 0;
}

bool CSkinXmlNode::HasAttribute(const UiChar* name) const {
    return doc_ != nullptr && FindAttribute(name) >= 0;
}

}  // namespace SkinUI
