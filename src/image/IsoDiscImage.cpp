#include "IsoDiscImage.h"

#include "ImageTreeBuilder.h"
#include "core/ImageChecks.h"

#include "Libisofs.h"

#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

namespace ketrilo {

namespace {

void Check(int result, const char* what) {
    if (result < 0)
        throw std::runtime_error(std::string(what) + ": " + iso_error_to_msg(result));
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
    });
}

// libisofs keeps global state it does not guard, so one image at a time in the process:
// a cancelled measurement may still be laying out its image when the next one starts, and
// the plan measures its discs on a worker of its own.
std::mutex& LibisofsInUse() {
    static std::mutex inUse;
    return inUse;
}

struct ImageRelease {
    void operator()(IsoImage* image) const { iso_image_unref(image); }
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

int64_t LaidOutSectors(IsoImage* image) {
    const auto opts = BurnerOptions();
    burn_source* source = nullptr;
    Check(iso_image_create_burn_source(image, opts.get(), &source), "image layout");
    const off_t bytes = source->get_size(source);
    source->cancel(source);
    source->free_data(source);
    free(source);
    return static_cast<int64_t>(bytes / 2048);
}

} // namespace

ImageReport IsoDiscImage::Measure(const std::vector<ImageItem>& items, WorkProgress* progress) {
    StartLibisofs();
    const std::lock_guard inUse(LibisofsInUse());
    IsoImage* raw = nullptr;
    Check(iso_image_new("ISOIMAGE", &raw), "image");
    const std::unique_ptr<IsoImage, ImageRelease> image(raw);

    ImageChecks checks;
    ImageTreeBuilder(raw, checks, progress).AddItems(items);
    if (progress != nullptr)
        progress->ThrowIfCancelled();
    ImageReport report;
    report.sectors = LaidOutSectors(raw);
    report.findings = checks.TakeFindings();
    return report;
}

} // namespace ketrilo
