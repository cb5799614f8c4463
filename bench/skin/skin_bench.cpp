// Skin loading benchmarks, side by side with the reference libraries:
//   xml: CSkinXml::ParseBytes (UTF-8 to UTF-16 conversion included) against
//        pugixml's in-place parse of the same bytes;
//   zip: open a skin archive in memory and extract every entry, against
//        minizip doing the same.
// Prints one table row per benchmark: medians over several runs.
#include <pugixml.hpp>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/skin/bench_documents.h"
#include "bench/skin/minizip_memory.h"
#include "ui/core/text_convert.h"
#include "ui/skin/skin_archive.h"
#include "ui/skin/skin_xml.h"

namespace {

using Clock = std::chrono::steady_clock;

// Median over runs of the time of one call of work (ms); setup runs untimed
// before each call.
struct Measure {
    const char* name;
    std::function<void()> setup;
    std::function<bool()> work;
    std::vector<double> times;

    void RunOnce() {
        setup();
        const auto start = Clock::now();
        if (!work()) {
            std::fprintf(stderr, "benchmark %s failed\n", name);
            std::exit(1);
        }
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    double Median() {
        std::sort(times.begin(), times.end());
        return times[times.size() / 2];
    }
};

// The runs count is taken by the caller; kept in the signature so each
// measurement reads as one call.
Measure MakeMeasure(const char* name, int, std::function<void()> setup, std::function<bool()> work) {
    return Measure{name, std::move(setup), std::move(work), {}};
}

// Runs the measurements interleaved (one run of each in turn), so a change in
// machine load affects both sides of a comparison alike.
void RunInterleaved(int runs, std::vector<Measure*> measures) {
    for (int r = 0; r < runs; ++r) {
        for (Measure* m : measures) m->RunOnce();
    }
}

// target 0: a row for information, with no target of its own.
void Row(const char* what, double ours, double reference, double target) {
    const double ratio = ours / reference;
    if (target == 0) {
        std::printf("| %-44s | %9.3f | %9.3f | %6.2f | %-12s |\n", what, ours, reference, ratio, "(info)");
        return;
    }
    std::printf("| %-44s | %9.3f | %9.3f | %6.2f | <= %.2f %s |\n", what, ours, reference, ratio, target,
                ratio <= target ? "ok  " : "MISS");
}

}  // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 15;

    // --- XML
    const std::string document = skin_bench::MakeSkinDocument(6u << 20);
    std::vector<char> inPlace(document.size());
    SkinUI::CSkinXml ours;
    Measure xmlOurs = MakeMeasure(
        "xml ours", runs, [] {},
        [&] {
            if (ours.ParseBytes(document.data(), document.size()) && ours.IsValid()) return true;
            std::fprintf(stderr, "CSkinXml: %s\n", SkinUI::UiToUtf8(ours.ErrorMessageText()).c_str());
            return false;
        });
    size_t elements = 0;
    pugi::xml_document pugi;
    Measure xmlPugi = MakeMeasure(
        "xml pugixml", runs, [&] { std::memcpy(inPlace.data(), document.data(), document.size()); },
        [&] {
            pugi::xml_parse_result result = pugi.load_buffer_inplace(inPlace.data(), inPlace.size());
            if (!result) std::fprintf(stderr, "pugixml: %s at %td\n", result.description(), result.offset);
            return static_cast<bool>(result);
        });

    // --- ZIP
    const int entries = 400;
    const std::string archive = skin_bench::MakeSkinArchive(entries);
    std::vector<unsigned char> out(1 << 20);
    size_t totalBytes = 0;
    Measure zipOurs = MakeMeasure(
        "zip ours", runs, [] {},
        [&] {
            SkinUI::SkinArchivePtr a(SkinUI::CSkinArchive::OpenMemory(archive.data(), archive.size()));
            if (!a) return false;
            size_t total = 0;
            for (int i = 0; i < a->EntryCount(); ++i) {
                SkinUI::SkinArchiveEntry entry;
                if (a->GetEntry(i, &entry) != SkinUI::kArchiveOk) return false;
                uint32_t written = 0;
                const uint32_t r = a->ExtractToMemory(i, out.data(), entry.uncompressedSize, &written);
                if ((r != SkinUI::kArchiveOk && r != SkinUI::kArchiveMore) ||
                    written != entry.uncompressedSize) {
                    std::fprintf(stderr, "entry %d: result 0x%X, %u of %u bytes\n", i, r, written,
                                 entry.uncompressedSize);
                    return false;
                }
                total += written;
            }
            totalBytes = total;
            return true;
        });
    Measure zipOursByName = MakeMeasure(
        "zip ours by name", runs, [] {},
        [&] {
            SkinUI::SkinArchivePtr a(SkinUI::CSkinArchive::OpenMemory(archive.data(), archive.size()));
            if (!a) return false;
            for (int i = 0; i < a->EntryCount(); ++i) {
                SkinUI::SkinArchiveEntry entry;
                a->GetEntry(i, &entry);
                int index = -1;
                if (a->FindEntry(entry.name, true, &index, &entry) != SkinUI::kArchiveOk) return false;
                uint32_t written = 0;
                const uint32_t r = a->ExtractToMemory(index, out.data(), entry.uncompressedSize, &written);
                if (written != entry.uncompressedSize) {
                    std::fprintf(stderr, "entry %d (%d): result 0x%X, %u of %u bytes\n", i, index, r, written,
                                 entry.uncompressedSize);
                    return false;
                }
            }
            return true;
        });
    Measure zipMinizip = MakeMeasure(
        "zip minizip", runs, [] {},
        [&] {
            unzFile z = skin_bench::OpenMinizipMemory(archive.data(), archive.size());
            if (z == nullptr) return false;
            size_t total = 0;
            for (int r = unzGoToFirstFile(z); r == UNZ_OK; r = unzGoToNextFile(z)) {
                unz_file_info64 info;
                char name[512];
                if (unzGetCurrentFileInfo64(z, &info, name, sizeof(name), nullptr, 0, nullptr, 0) != UNZ_OK)
                    return false;
                if (unzOpenCurrentFile(z) != UNZ_OK) return false;
                const int n =
                    unzReadCurrentFile(z, out.data(), static_cast<unsigned>(info.uncompressed_size));
                if (n != static_cast<int>(info.uncompressed_size)) return false;
                if (unzCloseCurrentFile(z) != UNZ_OK) return false;  // checks the CRC
                total += static_cast<size_t>(n);
            }
            unzClose(z);
            return total == totalBytes;
        });

    // The first call of the ZIP measurement also fills totalBytes, which the
    // minizip one checks.
    zipOurs.RunOnce();
    zipOurs.times.clear();
    RunInterleaved(runs, {&xmlOurs, &xmlPugi, &zipOurs, &zipOursByName, &zipMinizip});

    std::printf("Skin loading benchmarks: medians of %d interleaved runs, milliseconds\n", runs);
    std::printf("| %-44s | %9s | %9s | %6s | %-10s |\n", "benchmark", "ours", "reference", "ratio", "target");
    std::printf("|%s|%s|%s|%s|%s|\n", std::string(46, '-').c_str(), std::string(11, '-').c_str(),
                std::string(11, '-').c_str(), std::string(8, '-').c_str(), std::string(12, '-').c_str());
    char what[128];
    elements = ours.ElementCount() - 1;
    std::snprintf(what, sizeof(what), "XML %.1f MB, %zu elements vs pugixml", document.size() / 1048576.0,
                  elements);
    Row(what, xmlOurs.Median(), xmlPugi.Median(), 1.5);
    std::snprintf(what, sizeof(what), "ZIP %d entries, %.1f MB out vs minizip", entries,
                  totalBytes / 1048576.0);
    Row(what, zipOurs.Median(), zipMinizip.Median(), 1.1);
    std::snprintf(what, sizeof(what), "ZIP same, each entry looked up by name");
    Row(what, zipOursByName.Median(), zipMinizip.Median(), 0);
    return 0;
}
