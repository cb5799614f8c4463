#include "bench/skin/bench_documents.h"

#include <zlib.h>

#include <cstdint>
#include <vector>

namespace skin_bench {

std::string MakeSkinDocument(size_t targetBytes) {
    std::string doc = "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\"?>\n";
    doc += "<Window size=\"718,463\" caption=\"0,0,0,50\" roundcorner=\"3,3\">\n";
    doc +=
        "  <Font id=\"1\" name=\"\xE5\xBE\xAE\xE8\xBD\xAF\xE9\x9B\x85\xE9\xBB\x91\" size=\"18\" "
        "default=\"true\" />\n";
    int n = 0;
    while (doc.size() < targetBytes) {
        const std::string id = std::to_string(n++);
        doc += "  <VerticalLayout name=\"page_" + id + "\" bkcolor=\"#FFFFFFFF\" padding=\"10,10,10,10\">\n";
        doc += "    <HorizontalLayout height=\"40\" childpadding=\"8\">\n";
        doc += "      <Label name=\"title_" + id +
               "\" text=\"\xE5\xAE\x89\xE8\xA3\x85 &amp; \xE6\x9B\xB4\xE6\x96\xB0 " + id +
               "\" font=\"1\" textcolor=\"#FF333333\" align=\"left\" endellipsis=\"true\" />\n";
        doc += "      <Button name=\"btn_" + id +
               "\" width=\"96\" height=\"32\" normalimage=\"file='png/btn.png' source='0,0,96,32'\" "
               "hotimage=\"file='png/btn.png' source='0,32,96,64'\" text=\"&lt;OK&gt;\" />\n";
        doc += "      <Option name=\"opt_" + id + "\" group=\"g\" selected=\"false\" width=\"20\" />\n";
        doc += "    </HorizontalLayout>\n";
        doc +=
            "    <Text name=\"tip_" + id + "\">Plain text with &quot;quotes&quot; and more words.</Text>\n";
        doc += "    <Progress name=\"progress_" + id + "\" min=\"0\" max=\"100\" value=\"42\" />\n";
        doc += "  </VerticalLayout>\n";
    }
    doc += "</Window>\n";
    return doc;
}

namespace {

void Le16(std::string* s, uint16_t v) {
    s->push_back(static_cast<char>(v & 0xFF));
    s->push_back(static_cast<char>(v >> 8));
}
void Le32(std::string* s, uint32_t v) {
    Le16(s, static_cast<uint16_t>(v & 0xFFFF));
    Le16(s, static_cast<uint16_t>(v >> 16));
}

std::string RawDeflate(const std::string& data) {
    z_stream zs = {};
    deflateInit2(&zs, 6, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&zs, data.size()), '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    zs.avail_in = static_cast<uInt>(data.size());
    zs.next_out = reinterpret_cast<Bytef*>(&out[0]);
    zs.avail_out = static_cast<uInt>(out.size());
    deflate(&zs, Z_FINISH);
    out.resize(zs.total_out);
    deflateEnd(&zs);
    return out;
}

// Bytes that compress about as well as PNG data does (hardly at all) with
// some structure.
std::string ImageLike(size_t size, uint32_t seed) {
    std::string s(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        seed = seed * 1103515245u + 12345u;
        s[i] = static_cast<char>((i % 7 == 0) ? 0 : (seed >> 16));
    }
    return s;
}

}  // namespace

std::string MakeSkinArchive(int entries) {
    std::string out, directory;
    for (int i = 0; i < entries; ++i) {
        std::string name, data;
        if (i % 4 == 0) {
            name = "form_" + std::to_string(i) + ".xml";
            data = MakeSkinDocument(8000 + (i % 13) * 1500);
        } else {
            name = "png/image_" + std::to_string(i) + ".png";
            data = ImageLike(2000 + (i % 17) * 900, static_cast<uint32_t>(i));
        }
        const std::string packed = RawDeflate(data);
        const uint32_t crc = static_cast<uint32_t>(
            crc32(0, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
        const uint32_t offset = static_cast<uint32_t>(out.size());
        for (std::string* h : {&out, &directory}) {
            const bool central = (h == &directory);
            Le32(h, central ? 0x02014B50 : 0x04034B50);
            if (central) Le16(h, 20);
            Le16(h, 20);
            Le16(h, 0);
            Le16(h, 8);
            Le16(h, 0);
            Le16(h, 0x5021);
            Le32(h, crc);
            Le32(h, static_cast<uint32_t>(packed.size()));
            Le32(h, static_cast<uint32_t>(data.size()));
            Le16(h, static_cast<uint16_t>(name.size()));
            Le16(h, 0);
            if (central) {
                Le16(h, 0);
                Le16(h, 0);
                Le16(h, 0);
                Le32(h, 0x20);
                Le32(h, offset);
            }
            *h += name;
        }
        out += packed;
    }
    const uint32_t directoryOffset = static_cast<uint32_t>(out.size());
    out += directory;
    Le32(&out, 0x06054B50);
    Le16(&out, 0);
    Le16(&out, 0);
    Le16(&out, static_cast<uint16_t>(entries));
    Le16(&out, static_cast<uint16_t>(entries));
    Le32(&out, static_cast<uint32_t>(directory.size()));
    Le32(&out, directoryOffset);
    Le16(&out, 0);
    return out;
}

}  // namespace skin_bench
