#pragma once
// The part of a file name that decides its MIME type by name. Two names with the same key
// match exactly the same glob patterns of the installed MIME database, so they get the
// same type and the same picture: one lookup serves every name of a kind.

#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

class MimeGlobKey {
public:
    // Reads the glob lists of the MIME databases Qt reads. Without them (Qt's built-in
    // database) every name is left uncached.
    MimeGlobKey();

    // The key of a file name (no folder part); nothing when a pattern other than
    // "*suffix" could match it, or when the patterns are unknown: such a name is
    // looked up on its own. Safe to call from any thread.
    [[nodiscard]] std::optional<QString> KeyFor(QStringView fileName) const;
    // The key of the file name at the end of path.
    [[nodiscard]] std::optional<QString> KeyForPath(const QString& path) const {
        return KeyFor(QStringView(path).mid(path.lastIndexOf(u'/') + 1));
    }

    // The database's patterns are read once per program.
    [[nodiscard]] static const MimeGlobKey& Installed();

private:
    struct Hash {
        using is_transparent = void;
        size_t operator()(std::u16string_view s) const noexcept {
            return std::hash<std::u16string_view>()(s);
        }
    };
    using SuffixSet = std::unordered_set<std::u16string, Hash, std::equal_to<>>;

    bool ReadGlobs(const QString& path);
    void AddSuffix(SuffixSet& set, const QString& literal);
    static QString MatchedTail(const SuffixSet& set, QStringView name);

    bool m_known = false;
    // Every tail of every literal of a "*literal" pattern: caseless ones in lower case.
    SuffixSet m_caselessTails;
    SuffixSet m_exactTails;
    // Every other pattern as one expression, matched the way the database matches it.
    QStringList m_caselessOthers;
    QStringList m_exactOthers;
    QRegularExpression m_caselessRx;
    QRegularExpression m_exactRx;
};
