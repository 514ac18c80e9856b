#pragma once
// The trees the image tests build, each with the items grafted from it: measured against
// xorriso by some tests, their findings checked by others, and every one measured again
// by the arithmetic's test.

#include "../core/TempTree.h"
#include "core/image/DiscImage.h"
#include "core/image/DiscImageChecks.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ketrilo::test {

inline ImageItem Item(const TempTree& tree, const std::string& relative) {
    return {relative.substr(relative.rfind('/') + 1), tree.Path(relative)};
}

// Folders of many small files, deep ones, names of every awkward kind, links and a sparse
// file over 4 GiB: alone, all together, nested below the root, and two items of one name.
inline std::vector<std::vector<ImageItem>> GeneratedTrees(const TempTree& tree) {
    // Many small files of every size around a sector, in a few dozen folders.
    tree.Folder("many");
    for (int f = 0; f < 40; ++f) {
        const std::string folder = "many/f" + std::to_string(f);
        tree.Folder(folder);
        for (int i = 0; i < 60; ++i)
            tree.File(folder + "/file" + std::to_string(i) + ".txt", (i * 977 + f) % 6000);
    }
    // Deep folders, empty folders and hidden entries.
    tree.Folder("deep");
    tree.DeepChain("deep", 20, "level", 3000);
    tree.Folder("deep/empty");
    tree.Folder("deep/.hidden");
    tree.File("deep/.hidden/.dotfile", 10);
    // Long, non-ASCII and Joliet-unfriendly names, names alike once cut, a non-UTF-8 name.
    tree.Folder("names");
    tree.File("names/" + std::string(255, 'n'), 1);
    tree.File("names/" + std::string(64, 'c') + "-one", 1);
    tree.File("names/" + std::string(64, 'c') + "-two", 1);
    tree.File("names/"
              "日本語のファイル名はとても長くなることがありますので注意が必要です。それでも読めるで"
              "しょうか確認しましょうね.txt",
              5);
    tree.File("names/\xF0\x9F\x93\x80 disc", 5);
    tree.File("names/a:b;c?d*e\\f", 5);
    tree.File("names/ctrl\x01name", 5);
    tree.File("names/bad\xFFutf8", 5);
    tree.Folder("names/UPPER and lower.and.dots...");
    // Folders whose ISO 9660 names are cut: xorriso keeps a folder's extension and cuts
    // one without it to 30 characters, not 31.
    tree.Folder("folders");
    for (int i = 0; i < 700; ++i) {
        tree.Folder("folders/" + std::to_string(1000 + i) + std::string(36, 'f'));
        tree.Folder("folders/" + std::to_string(1000 + i) + ".photos of the summer");
    }
    // Links of every kind, a hard link, a special file, and a sparse file over 4 GiB.
    tree.Folder("links");
    tree.File("links/target", 5000);
    tree.Link("links/to-file", "target");
    tree.Link("links/to-folder", "..");
    tree.Link("links/dangling", "nowhere/" + std::string(200, 'x'));
    tree.HardLink("links/hard", "links/target");
    tree.Fifo("links/fifo");
    tree.Folder("big");
    tree.File("big/sparse.img", (int64_t{5} << 30) + 1);
    tree.File("single.bin", 70000);
    tree.Link("single-link", "single.bin");

    return {
        {Item(tree, "many")},
        {Item(tree, "deep")},
        {Item(tree, "names")},
        {Item(tree, "links")},
        {Item(tree, "big")},
        {Item(tree, "folders")},
        {Item(tree, "many"), Item(tree, "deep"), Item(tree, "names"), Item(tree, "links"),
         Item(tree, "big"), Item(tree, "single.bin"), Item(tree, "single-link")},
        {{"nested/part one", tree.Path("many/f3")}, {"nested/part two", tree.Path("deep")}},
        {{"same", tree.Path("many/f1")}, {"same", tree.Path("many/f2")}},         // folders merge
        {{"same", tree.Path("single.bin")}, {"same", tree.Path("links/target")}}, // the later wins
    };
}

// A folder and a file whose paths are about 8,000 bytes, twice what the system takes in one
// path.
inline std::vector<ImageItem> ItemsAtLongPaths(const TempTree& tree) {
    const std::string name(200, 'n');
    tree.Folder("long");
    tree.DeepChain("long", 40, name, 3000); // a file "f" in each folder
    std::string folder = tree.Path("long");
    for (int i = 0; i < 39; ++i)
        folder += "/" + name;
    return {{"folder", folder}, {"file", folder + "/" + name + "/f"}};
}

// One of each finding but the refusals, at its boundary where there is one.
inline std::vector<ImageItem> TreeOfFindings(const TempTree& tree) {
    const std::string cut(64, 'c');
    tree.Folder("w");
    tree.File("w/" + std::string(65, 'L'), 1);
    tree.File("w/" + std::string(64, 'S'), 1); // 64 units: kept whole
    tree.File("w/a:b", 1);
    tree.File("w/" + cut + "1", 1);
    tree.File("w/" + cut + "2", 1);
    tree.File("w/big", int64_t{1} << 32);
    tree.File("w/almost", (int64_t{1} << 32) - 1);
    tree.Link("w/link:" + std::string(70, 'k'), "big"); // not in the Joliet tree
    tree.DeepChain("w", 8, "d", 1);                     // w is level 2, so the 7th d is level 9
    const std::string n60(60, 'p');
    tree.Folder("w/" + n60);
    tree.Folder("w/" + n60 + "/" + n60);
    tree.Folder("w/" + n60 + "/" + n60 + "/" + n60);
    tree.File("w/" + n60 + "/" + n60 + "/" + n60 + "/short", 1); // 1+1+61*3+6 = 191
    tree.Folder("w/" + n60 + "/" + n60 + "/" + n60 + "/" + n60); // 246: still seen
    const std::string tooLong = "w/" + n60 + "/" + n60 + "/" + n60 + "/" + n60 + "/last-straw";
    tree.File(tooLong, 1); // 257
    tree.File("other", 1);
    return {{"w", tree.Path("w")}, {"w", tree.Path("other")}};
}

// Joliet paths on either side of libisofs's 240 bytes.
inline std::vector<ImageItem> TreeOfJolietPaths(const TempTree& tree) {
    const std::string folder(70, 'F'); // cut to 64: "j/F" is 1+3+129 = 133 bytes
    tree.Folder("j");
    tree.Folder("j/" + folder);
    tree.File("j/" + folder + "/" + std::string(53, 'a'), 1);         // 133+107 = 240
    tree.File("j/" + folder + "/" + std::string(54, 'b'), 1);         // 242
    tree.File("j/" + folder + "/" + std::string(100, 'c') + ".t", 1); // 65 units: 264
    tree.Folder("j/" + folder + "/" + std::string(60, 'd'));          // 254, and its file
    tree.File("j/" + folder + "/" + std::string(60, 'd') + "/e", 1);  // is not named again
    return {{"j", tree.Path("j")}};
}

// A path of 255 bytes and one of 256, a name that is not UTF-8, the largest file libisofs
// takes and one byte more.
inline std::vector<ImageItem> TreeOfBoundaries(const TempTree& tree) {
    tree.Folder("p");
    const std::string level(100, 'x');
    tree.Folder("p/" + level);
    tree.File("p/" + level + "/" + std::string(153, 'y'), 1); // 1+1+100+1+153 = 256: no,
    tree.File("p/" + level + "/" + std::string(152, 'z'), 1); // 255 passes
    tree.File("p/\xFEname", 1);
    tree.File("p/largest", LargestImageFile);
    tree.File("p/over", LargestImageFile + 1);
    return {{"p", tree.Path("p")}};
}

// A folder with a file and a link whose target is longer than Rock Ridge can record.
inline std::vector<ImageItem> TreeWithARefusedLink(const TempTree& tree) {
    tree.Folder("d");
    tree.File("d/a", 3 * 2048);
    tree.Link("d/long", "/" + std::string(1100, 't'));
    return {{"d", tree.Path("d")}};
}

// Five hundred links to one target of 963 bytes in five parts.
inline std::vector<ImageItem> TreeOfLongLinks(const TempTree& tree) {
    tree.Folder("long-links");
    const std::string target = "/" + std::string(200, 'a') + "/" + std::string(200, 'b') + "/" +
                               std::string(200, 'c') + "/" + std::string(200, 'd') + "/" +
                               std::string(158, 'e');
    for (int i = 0; i < 500; ++i)
        tree.Link("long-links/l" + std::to_string(i), target);
    return {{"long-links", tree.Path("long-links")}};
}

// Two thousand and one names of one file of 5,000 bytes.
inline std::vector<ImageItem> TreeOfManyNames(const TempTree& tree) {
    tree.Folder("one-file");
    tree.File("one-file/first", 5000);
    for (int i = 0; i < 2000; ++i)
        tree.HardLink("one-file/n" + std::to_string(i), "one-file/first");
    return {{"one-file", tree.Path("one-file")}};
}

// Sparse files past what 32 bits of sectors number (8 TiB): one just under it, whose
// records take the image over, and nine of 1 TiB.
inline std::vector<std::vector<ImageItem>> TreesOverWhatISO9660Numbers(const TempTree& tree) {
    const std::string nearly = tree.File("nearly", (MaxImageSectors - 10) * 2048);
    tree.Folder("nine");
    for (int i = 0; i < 9; ++i)
        tree.File("nine/" + std::to_string(i), int64_t{1} << 40);
    return {{{"nearly", nearly}}, {{"nine", tree.Path("nine")}}};
}

} // namespace ketrilo::test
