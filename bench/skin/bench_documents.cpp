#include "bench/skin/bench_documents.h"

#include "tests/skin/zip_builder.h"

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
    kelo_test::ZipBuilder zip;
    for (int i = 0; i < entries; ++i) {
        if (i % 4 == 0) {
            zip.Add("form_" + std::to_string(i) + ".xml", MakeSkinDocument(8000 + (i % 13) * 1500));
        } else {
            zip.Add("png/image_" + std::to_string(i) + ".png",
                    ImageLike(2000 + (i % 17) * 900, static_cast<uint32_t>(i)));
        }
    }
    return zip.Build();
}

}  // namespace skin_bench
