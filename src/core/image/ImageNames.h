#pragma once
// The names an entry gets in the image's two trees, as libisofs makes them with the
// burner's options: an ISO 9660 level 3 identifier (upper-case d-characters, at most 31,
// a file's with its dot) and a Joliet one (UCS-2, at most 64 units, a file's extension
// kept), then numbered where two names of one folder came out alike.

#include <string>
#include <string_view>
#include <vector>

namespace ketrilo {

// The controls and * / : ; ? \ : characters Joliet does not allow in a name.
[[nodiscard]] bool IsJolietForbidden(char32_t c);

// The ISO 9660 identifier of an entry called name, before collisions are numbered.
[[nodiscard]] std::string IsoIdentifier(std::string_view name, bool folder);

// The Joliet identifier of an entry called name, before collisions are numbered.
[[nodiscard]] std::u16string JolietIdentifier(std::string_view name, bool folder);

// One folder's identifiers, renamed in place where several are alike, as libisofs numbers
// them ("NAME0.TXT", "NAME1.TXT", … with more digits when ten do not do), alike ones in
// the order given (libisofs: by the names on disk). False when libisofs gives up (an
// extension too long to make room for the digits): no image.
struct NamedEntry {
    std::string iso;
    std::u16string joliet;
    bool folder = false;
};
[[nodiscard]] bool NumberIsoCollisions(std::vector<NamedEntry*>& entries);
[[nodiscard]] bool NumberJolietCollisions(std::vector<NamedEntry*>& entries);

} // namespace ketrilo
