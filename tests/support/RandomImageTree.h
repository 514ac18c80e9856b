#pragma once
// A small tree made on disk from a byte source, for comparing two measures of the disc
// image: names of every kind the image's rules treat apart (long ones about 31, 64 and 255,
// names alike once upper-cased, cut or stripped to d-characters, families of one prefix
// that need numbers of two to four digits, Japanese and accented ones, bytes that are not
// UTF-8, characters Joliet forbids, dots anywhere), links short, long and dangling, hard
// links, empty folders, paths deeper than 8 levels and longer than 255 bytes, files at the
// sector and 4 GiB edges (sparse), fifos and sockets; names of 120 bytes or more (Japanese
// ones of 40 to 85 characters) and long link targets, many in one folder or at the root at
// times, whose Rock Ridge fields go on in continuation areas of several sectors. The fuzz
// targets read the bytes from their input, the tests and the image_diff tool from a seed;
// the same bytes make the same tree. Past the end of the bytes every decision takes its
// first choice, so a shorter input makes a smaller tree.

#include "../../fuzz/FuzzInput.h"
#include "../core/TempTree.h"
#include "core/image/DiscImage.h"
#include "core/image/DiscImageStatus.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace ketrilo::test {

struct RandomImageTree {
    std::vector<ImageItem> items; // in well order
    ImageItem spare;              // made on disk but in no item: one more for a change of the well
};

class RandomTreeWriter {
public:
    RandomTreeWriter(const TempTree& tree, fuzz::Bytes& in) : m_tree(tree), m_in(in) {}

    // One to three items, now and then 8 to 27 of long names, each made in a folder of its
    // own ("i0/", "i1/", ...) so that two may have one name; an item's image path is mostly
    // its name on disk, sometimes one that collides at the root with the item before.
    RandomImageTree Write() {
        RandomImageTree made;
        const bool many = m_in.Next() % 8 == 7;
        const uint32_t count = many ? 8 + m_in.Next() % 20 : 1 + m_in.Next() % 3;
        for (uint32_t i = 0; i <= count; ++i) {
            const std::string holder = "i" + std::to_string(i);
            m_tree.Folder(holder);
            ImageItem item = RootItem(holder + "/", many ? LongName() : Name());
            if (i == count) {
                made.spare = std::move(item);
                break;
            }
            if (!made.items.empty() && m_in.Next() % 4 == 1)
                item.imagePath = AlikeAtTheRoot(made.items.back().imagePath);
            made.items.push_back(std::move(item));
        }
        return made;
    }

private:
    // A name of any kind, at most 255 bytes, never "." or "..".
    std::string Name() {
        static const char* const Japanese[] = {"日本語", "ファイル", "写真", "ー", "ｶﾅ", "漢"};
        static const char* const Accented[] = {"é", "Ü", "ñ", "ç", "Å", "ß"};
        static const char* const Forbidden[] = {"*", ":", ";", "?", "\\", "\t"};
        static const char* const NotUtf8[] = {"\xff", "\xfe", "\xc3", "\xe3\x81", "\x80"};
        static const char* const Dotted[] = {".hidden", "a..b", "trailing.",
                                             "...",     ".a.b", "a.b.c.d"};
        static const char* const Extensions[] = {"",        "",  ".txt", ".TXT",
                                                 ".tar.gz", ".", ".c",   ".verylongextension"};
        std::string name;
        switch (m_in.Next() % 11) {
        case 0:
            for (uint32_t n = 1 + m_in.Next() % 8; n > 0; --n)
                name += Pick("abcXYZ09_-+ ~");
            break;
        case 1:
            name = Letters(28 + m_in.Next() % 8); // about ISO 9660's 31
            break;
        case 2:
            name = Letters(62 + m_in.Next() % 6); // about Joliet's 64
            break;
        case 3:
            name = Letters(240 + m_in.Next() % 16); // about the system's 255 bytes
            break;
        case 4:
            for (uint32_t n = 1 + m_in.Next() % 40; n > 0; --n)
                name += Japanese[m_in.Next() % std::size(Japanese)];
            break;
        case 5:
            name = Letters(1 + m_in.Next() % 4) + Accented[m_in.Next() % std::size(Accented)] +
                   Letters(m_in.Next() % 4);
            break;
        case 6:
            name = Letters(m_in.Next() % 4) + NotUtf8[m_in.Next() % std::size(NotUtf8)] +
                   Letters(m_in.Next() % 4);
            break;
        case 7:
            name = Letters(1 + m_in.Next() % 4) + Forbidden[m_in.Next() % std::size(Forbidden)] +
                   Letters(m_in.Next() % 4);
            break;
        case 8:
            name = Dotted[m_in.Next() % std::size(Dotted)];
            break;
        case 9:
            name = LongName();
            break;
        default:
            name = Letters(1 + m_in.Next() % 12);
            break;
        }
        name += Extensions[m_in.Next() % std::size(Extensions)];
        return Fitting(std::move(name));
    }

    // Paths below the tree's root, well below the system's 4096 bytes with the root: not
    // counting the root, the same bytes make the same tree wherever it is made.
    static constexpr size_t MaxPathBytes = 3000;
    static constexpr int MaxDepth = 12;
    static constexpr size_t MaxEntries = 40; // a family of names counting as one

    // A name too long for its record's Rock Ridge fields: of 120 to 255 letters, or of 40
    // to 85 Japanese characters (3 bytes each).
    std::string LongName() {
        static const char* const Kana[] = {"日", "本", "語", "フ", "ァ",
                                           "イ", "ル", "写", "真", "ー"};
        if (m_in.Next() % 2 == 0)
            return Letters(120 + m_in.Next() % 136);
        std::string name;
        for (uint32_t n = 40 + m_in.Next() % 46; n > 0; --n)
            name += Kana[m_in.Next() % std::size(Kana)];
        return name;
    }

    // A letter of either case.
    std::string Letters(uint32_t count) {
        std::string text;
        for (uint32_t i = 0; i < count; ++i)
            text += static_cast<char>((m_in.Next() % 2 != 0 ? 'A' : 'a') + m_in.Next() % 26);
        return text;
    }
    char Pick(std::string_view from) { return from[m_in.Next() % from.size()]; }

    static std::string Fitting(std::string name) {
        if (name.size() > 255)
            name.resize(255); // may cut a character: one more name that is not UTF-8
        if (name.empty() || name == "." || name == "..")
            name += "x";
        return name;
    }

    // Names the image takes for one: the same, upper-cased, or with one more underscore
    // where ISO 9660 puts one for a character it does not allow.
    std::string AlikeAtTheRoot(const std::string& name) {
        switch (m_in.Next() % 3) {
        case 0:
            return name;
        case 1: {
            std::string upper = name;
            for (char& c : upper)
                if (c >= 'a' && c <= 'z')
                    c = static_cast<char>(c - 'a' + 'A');
            return upper == name ? upper + "~" : upper;
        }
        default:
            return Fitting(name + "-");
        }
    }

    ImageItem RootItem(const std::string& holder, const std::string& name) {
        const std::string relative = holder + name;
        switch (m_in.Next() % 6) {
        case 4:
            File(relative);
            break;
        case 5:
            Other(relative);
            break;
        default:
            m_tree.Folder(relative);
            Fill(relative + "/", 1);
            break;
        }
        return {name, m_tree.Path(relative)};
    }

    bool Room() const { return m_made < MaxEntries; }
    // Whether an entry of any kind, a dangling link too, has that name already.
    bool Taken(const std::string& relative) const {
        struct stat st;
        return lstat(m_tree.Path(relative).c_str(), &st) == 0;
    }

    // A few entries in folder (relative, ending in "/"), at depth levels below an item.
    void Fill(const std::string& folder, int depth) {
        for (uint32_t n = m_in.Next() % 9; n > 0 && Room(); --n) {
            ++m_made;
            const std::string relative = folder + Name();
            if (relative.size() > MaxPathBytes)
                return;
            if (Taken(relative))
                continue; // opening a fifo of that name to write would wait for a reader
            try {
                switch (m_in.Next() % 14) {
                case 0:
                case 1:
                case 2:
                case 3:
                    File(relative);
                    break;
                case 4:
                case 5:
                    m_tree.Folder(relative);
                    if (depth < MaxDepth)
                        Fill(relative + "/", depth + 1);
                    break;
                case 6:
                    m_tree.Folder(relative); // stays empty
                    break;
                case 7:
                case 8:
                    Link(relative, folder);
                    break;
                case 9:
                    HardLink(relative);
                    break;
                case 10:
                    Chain(relative);
                    break;
                case 11:
                    Family(folder);
                    break;
                case 12:
                    LongNames(folder);
                    break;
                default:
                    Other(relative);
                    break;
                }
            } catch (const std::runtime_error&) {
                // what the system will not make: one entry fewer
            }
        }
    }

    // A file of a size about a sector or about 4 GiB, sparse.
    void File(const std::string& relative) {
        static const int64_t Edges[] = {0,
                                        1,
                                        2047,
                                        2048,
                                        2049,
                                        0xFFFFF800,
                                        0xFFFFFFFF,
                                        int64_t{1} << 32,
                                        (int64_t{1} << 32) + 1,
                                        (int64_t{2} << 32) + 12345};
        const uint32_t pick = m_in.Next() % 16;
        const int64_t size = pick < std::size(Edges)
                                 ? Edges[pick]
                                 : int64_t{m_in.Next16()} * (pick % 2 != 0 ? 1 : 37);
        m_tree.File(relative, size);
        m_files.push_back(relative);
    }

    // A link to a sibling, to a target over 255 bytes (at times over what Rock Ridge can
    // record, at times of components about the 255 bytes of one SL field), or to nothing.
    void Link(const std::string& relative, const std::string& folder) {
        std::string target;
        switch (m_in.Next() % 5) {
        case 0:
            if (m_files.empty())
                target = "a";
            else if (m_files.back().starts_with(folder))
                target = m_files.back().substr(folder.size()); // a sibling
            else
                target = m_tree.Path(m_files.back());
            break;
        case 1:
            target = "..";
            break;
        case 2:
            for (uint32_t n = 1 + m_in.Next() % 12; n > 0; --n)
                target += "/" + std::string(1 + m_in.Next() % 100, Pick("xyz."));
            break;
        case 3:
            for (uint32_t n = 1 + m_in.Next() % 3; n > 0; --n)
                target +=
                    (target.empty() ? "" : "/") + std::string(240 + m_in.Next() % 16, Pick("xyz"));
            break;
        default:
            target = "nowhere/" + Name();
            break;
        }
        m_tree.Link(relative, target);
    }

    // Another name of a file made before, in this folder or another.
    void HardLink(const std::string& relative) {
        if (m_files.empty())
            return;
        m_tree.HardLink(relative, m_files[m_in.Next() % m_files.size()]);
        m_files.push_back(relative);
    }

    // Folders 9 to 16 levels deep under one, with a file in each.
    void Chain(const std::string& relative) {
        m_tree.Folder(relative);
        const std::string level = m_in.Next() % 2 != 0 ? "d" : Letters(10 + m_in.Next() % 30);
        m_tree.DeepChain(relative, 9 + static_cast<int>(m_in.Next() % 8), level,
                         m_in.Next() % 3 * 2048);
    }

    // A fifo or a socket.
    void Other(const std::string& relative) {
        if (m_in.Next() % 2 == 0) {
            m_tree.Fifo(relative);
            return;
        }
        // A socket is bound at a short path, as the address holds 108 bytes, then moved.
        const std::string near = m_tree.Path("s.sock");
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string bound = near.size() < sizeof address.sun_path ? near : "";
        std::copy(bound.begin(), bound.end(), address.sun_path);
        const bool made = fd >= 0 && !bound.empty() &&
                          bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        if (fd >= 0)
            close(fd);
        if (made && rename(near.c_str(), m_tree.Path(relative).c_str()) != 0)
            unlink(near.c_str());
    }

    // 5 to 34 entries of long names, files or links with long targets, so that the folder's
    // continuation area takes several sectors.
    void LongNames(const std::string& folder) {
        for (uint32_t n = 5 + m_in.Next() % 30; n > 0; --n) {
            const std::string relative = folder + LongName();
            if (Taken(relative) || relative.size() > MaxPathBytes)
                continue;
            if (m_in.Next() % 3 == 0)
                Link(relative, folder);
            else
                m_tree.File(relative, m_in.Next() % 3);
        }
    }

    // Names of one folder that the image takes for one another, so that it numbers them.
    void Family(const std::string& folder) {
        const std::string base = Letters(1 + m_in.Next() % 40);
        std::vector<std::string> names;
        switch (m_in.Next() % 5) {
        case 0: // cases
            for (uint32_t n = 2 + m_in.Next() % 6; n > 0; --n) {
                std::string name = base;
                for (char& c : name)
                    if (m_in.Next() % 2 != 0)
                        c = static_cast<char>(c ^ 0x20);
                names.push_back(name);
            }
            break;
        case 1: // extensions
            for (const char* extension : {"", ".txt", ".TXT", ".Txt", ".tx", ".txt.gz", "."})
                names.push_back(base + extension);
            break;
        case 2: // characters that are no d-characters, each an "_"
            for (const char* odd : {"_", "-", "+", " ", "~", "!", "é", "日", "\xff"})
                names.push_back(base + odd + "x");
            break;
        case 3: // alike in their first 31 characters
            for (uint32_t n = 2 + m_in.Next() % 8; n > 0; --n)
                names.push_back(Letters(31) + Letters(1 + m_in.Next() % 6));
            for (std::string& name : names)
                name.replace(0, 31, names.front(), 0, 31);
            break;
        default: { // one prefix, many numbers: now and then over a thousand
            const std::string prefix = Letters(26 + m_in.Next() % 10);
            const uint32_t count =
                m_in.Next() % 16 == 15 ? 1000 + m_in.Next() % 100 : 10 + m_in.Next() % 140;
            for (uint32_t i = 0; i < count; ++i)
                names.push_back(prefix + std::to_string(i) + (i % 3 == 0 ? ".dat" : ""));
            break;
        }
        }
        for (const std::string& name : names) {
            const std::string relative = folder + name;
            if (!Taken(relative) && relative.size() <= MaxPathBytes)
                m_tree.File(relative, m_in.Next() % 3);
        }
    }

    const TempTree& m_tree;
    fuzz::Bytes& m_in;
    size_t m_made = 0;
    std::vector<std::string> m_files; // relative paths of the regular files made
};

// Where to make trees one after another: in memory where there is such a folder, as a
// disk's file system slows down making and removing thousands of entries a second; else
// under $TMPDIR (TempTree's choice for null).
inline const char* ScratchFolder() {
    return access("/dev/shm", W_OK) == 0 ? "/dev/shm" : nullptr;
}

// Bytes for the writer from a seed (splitmix64), so that a seed names a tree.
inline std::vector<uint8_t> SeedBytes(uint64_t seed, size_t count = 4096) {
    std::vector<uint8_t> bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
        uint64_t z = (seed += 0x9E3779B97F4A7C15);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EB;
        z ^= z >> 31;
        for (int i = 0; i < 8 && bytes.size() < count; ++i)
            bytes.push_back(static_cast<uint8_t>(z >> (8 * i)));
    }
    return bytes;
}

// A report's findings as what two measures must agree on: kind (its keyword) and path, in
// order.
inline std::vector<std::pair<std::string, std::string>> FindingKeys(const ImageReport& report) {
    std::vector<std::pair<std::string, std::string>> keys;
    for (const ImageFinding& finding : report.findings)
        keys.emplace_back(ImageFindingKeyword(finding.kind), finding.path);
    std::sort(keys.begin(), keys.end());
    return keys;
}

} // namespace ketrilo::test
