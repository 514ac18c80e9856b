#include "IsoDiscImage.h"

#include "ImageTreeBuilder.h"
#include "core/image/DiscImageChecks.h"
#include "core/text/Numbers.h"

#include "Libisofs.h"

#include <chrono>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <semaphore>
#include <set>
#include <stdexcept>
#include <string>
#include <system_error>
#include <thread>
#include <tuple>
#include <vector>

namespace ketrilo {

namespace {

void Check(int result, const char* what) {
    if (result < 0)
        throw std::runtime_error(std::string(what) + ": " + iso_error_to_msg(result));
}

// libisofs keeps global state it does not guard, so one image at a time in the process:
// a cancelled measurement may still be laying out its image when the next one starts, and
// the plan measures its discs on a worker of its own. The turn passes to the thread that
// tears an image down, so it is a semaphore; never destroyed, as that thread may outlive
// everything else at exit.
std::binary_semaphore& LibisofsTurn() {
    static auto* turn = new std::binary_semaphore(1);
    return *turn;
}

// Once per process: names on disk are UTF-8 whatever the locale, and libisofs keeps its
// messages to itself (every failure reaches the caller as a result code).
void StartLibisofs() {
    static std::once_flag started;
    std::call_once(started, [] {
        Check(iso_init(), "libisofs");
        static char utf8[] = "UTF-8";
        static char never[] = "NEVER";
        static char id[] = "ketrilo";
        iso_set_local_charset(utf8, 0);
        iso_set_msgs_severities(never, never, id);
        // An image still being torn down when the process ends would look lost to a leak
        // checker, so the end waits for it, a little.
        std::atexit([] {
            if (LibisofsTurn().try_acquire_for(std::chrono::seconds(5)))
                LibisofsTurn().release();
        });
    });
}

struct ImageRelease {
    void operator()(IsoImage* image) const { iso_image_unref(image); }
};
using ImageHandle = std::unique_ptr<IsoImage, ImageRelease>;

void FreeLayout(burn_source* source) {
    source->cancel(source);
    source->free_data(source);
    free(source);
}

// Holds the turn from the start of a measurement until its image is torn down.
class Turn {
public:
    Turn() { LibisofsTurn().acquire(); }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;
    ~Turn() {
        if (m_held)
            LibisofsTurn().release();
    }

    // Freeing a laid-out image of many files takes a tenth of the time of laying it out:
    // it is done on a thread of its own, holding the turn, once the figure is known.
    void TearDownLater(ImageHandle image, burn_source* layout) {
        try {
            std::thread([raw = image.get(), layout] {
                FreeLayout(layout);
                iso_image_unref(raw);
                LibisofsTurn().release();
            }).detach();
            image.release();
            m_held = false;
        } catch (const std::system_error&) {
            FreeLayout(layout); // no thread to be had: torn down here, the image by its handle
        }
    }

private:
    bool m_held = true;
};

struct OptionsRelease {
    void operator()(IsoWriteOpts* opts) const { iso_write_opts_free(opts); }
};

// The options xorriso writes a new image with by default, which its mkisofs emulation
// keeps: every one of them changes the size of some directory record or path table.
std::unique_ptr<IsoWriteOpts, OptionsRelease> BurnerOptions() {
    IsoWriteOpts* raw = nullptr;
    Check(iso_write_opts_new(&raw, 0), "write options");
    std::unique_ptr<IsoWriteOpts, OptionsRelease> opts(raw);
    iso_write_opts_set_iso_level(raw, 3);
    iso_write_opts_set_rockridge(raw, 1);
    iso_write_opts_set_joliet(raw, 1);
    iso_write_opts_set_hardlinks(raw, 0);
    iso_write_opts_set_aaip(raw, 0);
    iso_write_opts_set_old_empty(raw, 0);
    iso_write_opts_set_omit_version_numbers(raw, 2);
    iso_write_opts_set_allow_deep_paths(raw, 1);
    iso_write_opts_set_allow_longer_paths(raw, 1);
    iso_write_opts_set_max_37_char_filenames(raw, 0);
    iso_write_opts_set_no_force_dots(raw, 2);
    iso_write_opts_set_allow_dir_id_ext(raw, 1);
    iso_write_opts_set_allow_lowercase(raw, 0);
    iso_write_opts_set_allow_full_ascii(raw, 0);
    iso_write_opts_set_relaxed_vol_atts(raw, 1);
    iso_write_opts_set_joliet_longer_paths(raw, 0);
    iso_write_opts_set_joliet_long_names(raw, 0);
    iso_write_opts_set_joliet_utf16(raw, 0);
    iso_write_opts_set_always_gmt(raw, 1);
    iso_write_opts_set_rrip_version_1_10(raw, 1);
    iso_write_opts_set_dir_rec_mtime(raw, 7);
    iso_write_opts_set_aaip_susp_1_10(raw, 1);
    iso_write_opts_set_sort_files(raw, 1);
    iso_write_opts_set_record_md5(raw, 0, 0);
    iso_write_opts_set_tail_blocks(raw, 0);
    // Only the size is wanted: no thread starts producing the image.
    iso_write_opts_set_will_cancel(raw, 1);
    return opts;
}

// The sectors of the file data in the image's tree, each file once.
int64_t DataSectors(IsoImage* image) {
    std::set<std::tuple<unsigned int, dev_t, ino_t>> files;
    int64_t sectors = 0;
    std::vector<IsoDir*> folders = {iso_image_get_root(image)};
    while (!folders.empty()) {
        IsoDirIter* children = nullptr;
        Check(iso_dir_get_children(folders.back(), &children), "image tree");
        folders.pop_back();
        IsoNode* node = nullptr;
        while (iso_dir_iter_next(children, &node) == 1) {
            if (iso_node_get_type(node) == LIBISO_DIR) {
                folders.push_back(reinterpret_cast<IsoDir*>(node));
                continue;
            }
            if (iso_node_get_type(node) != LIBISO_FILE)
                continue;
            IsoStream* stream = iso_file_get_stream(reinterpret_cast<IsoFile*>(node));
            unsigned int fs = 0;
            dev_t dev = 0;
            ino_t ino = 0;
            iso_stream_get_id(stream, &fs, &dev, &ino);
            if (files.emplace(fs, dev, ino).second)
                sectors = SaturatingAdd(sectors, ClustersFor(2048, iso_stream_get_size(stream)));
        }
        iso_dir_iter_free(children);
    }
    return sectors;
}

burn_source* LaidOut(IsoImage* image) {
    const auto opts = BurnerOptions();
    burn_source* source = nullptr;
    Check(iso_image_create_burn_source(image, opts.get(), &source), "image layout");
    return source;
}

} // namespace

ImageReport IsoDiscImage::Measure(const std::vector<ImageItem>& items, WorkProgress* progress) {
    StartLibisofs();
    Turn turn;
    IsoImage* raw = nullptr;
    Check(iso_image_new("ISOIMAGE", &raw), "image");
    ImageHandle image(raw);

    DiscImageChecks checks;
    ImageTreeBuilder builder(raw, checks, progress);
    builder.AddItems(items);
    if (progress != nullptr)
        progress->ThrowIfCancelled();
    ImageReport report;
    report.findings = checks.TakeFindings();
    // libisofs numbers sectors with 32 bits. Under half of them in file data, the rest of
    // an image (its records) cannot make up the other half: no count goes around. Else
    // the data is counted exactly; data alone beyond what an image can number is not laid
    // out (libisofs would count around, or run out of memory for the extents).
    const int64_t data = builder.DataSectorsAtMost() > MaxImageSectors / 2 ? DataSectors(raw) : 0;
    if (data > MaxImageSectors) {
        report.sectors = data;
        return report;
    }
    burn_source* layout = LaidOut(raw);
    report.sectors = static_cast<int64_t>(layout->get_size(layout) / 2048);
    // What the data and the records add up to beyond 32 bits wraps around, once at most
    // as the data alone is within them.
    if (report.sectors < data)
        report.sectors += MaxImageSectors + 1;
    turn.TearDownLater(std::move(image), layout);
    return report;
}

} // namespace ketrilo
