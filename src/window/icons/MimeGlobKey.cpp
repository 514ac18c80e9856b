#include "window/icons/MimeGlobKey.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

bool HasWildcard(QStringView text) {
    return text.contains(u'*') || text.contains(u'?') || text.contains(u'[');
}

std::u16string_view View(QStringView text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())};
}

// One anchored expression for a list of globs, with the conversion Qt's own matching uses.
QRegularExpression AnyOf(const QStringList& globs) {
    if (globs.isEmpty())
        return QRegularExpression(QStringLiteral("(?!)")); // matches nothing
    QStringList alternatives;
    for (const QString& glob : globs)
        alternatives.append(QRegularExpression::wildcardToRegularExpression(glob));
    QRegularExpression rx(QLatin1String("(?:") + alternatives.join(QLatin1String(")|(?:")) +
                          QLatin1Char(')'));
    rx.optimize();
    return rx;
}

} // namespace

MimeGlobKey::MimeGlobKey() {
    const QStringList folders =
        QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("mime"),
                                  QStandardPaths::LocateDirectory);
    m_known = !folders.isEmpty();
    for (const QString& folder : folders) {
        // A database folder without its glob list would hold patterns unseen here.
        const QString globs = QDir(folder).filePath(QStringLiteral("globs2"));
        if (!QFileInfo::exists(globs)) {
            if (!QDir(folder).isEmpty())
                m_known = false;
            continue;
        }
        m_known = m_known && ReadGlobs(globs);
    }
    m_caselessRx = AnyOf(m_caselessOthers);
    m_exactRx = AnyOf(m_exactOthers);
}

const MimeGlobKey& MimeGlobKey::Installed() {
    static const MimeGlobKey installed;
    return installed;
}

// Lines are "weight:type:glob" with an optional ":flags" ("cs": case-sensitive).
bool MimeGlobKey::ReadGlobs(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        const QStringList fields = line.split(u':');
        if (fields.size() < 3 || fields.size() > 4 || fields[2].startsWith(QLatin1String("__")))
            return false; // a form not understood here, or a folder that removes patterns
        const QString& glob = fields[2];
        const bool exact =
            fields.size() == 4 && fields[3].split(u',').contains(QLatin1String("cs"));
        const QStringView literal = QStringView(glob).mid(1);
        if (glob.startsWith(u'*') && !literal.isEmpty() && !HasWildcard(literal))
            AddSuffix(exact ? m_exactTails : m_caselessTails,
                      exact ? literal.toString() : literal.toString().toLower());
        else
            (exact ? m_exactOthers : m_caselessOthers).append(exact ? glob : glob.toLower());
    }
    return true;
}

void MimeGlobKey::AddSuffix(SuffixSet& set, const QString& literal) {
    for (qsizetype length = 1; length <= literal.size(); ++length)
        set.emplace(View(QStringView(literal).right(length)));
}

// The longest tail of name that is a tail of some literal: a "*literal" pattern matches
// name exactly when its literal is a tail of this one; a literal that is the whole name
// matches or not by the database's own rule, so such a name is marked as its own kind.
QString MimeGlobKey::MatchedTail(const SuffixSet& set, QStringView name) {
    qsizetype length = 0;
    while (length < name.size() && set.contains(View(name.right(length + 1))))
        ++length;
    QString tail = name.right(length).toString();
    if (length == name.size())
        tail.append(u'/');
    return tail;
}

std::optional<QString> MimeGlobKey::KeyFor(QStringView fileName) const {
    if (!m_known)
        return std::nullopt;
    const QString lower = fileName.toString().toLower();
    if (m_caselessRx.match(QStringView(lower)).hasMatch() || m_exactRx.match(fileName).hasMatch())
        return std::nullopt;
    // "/" never occurs in a file name, so it keeps the parts apart.
    return MatchedTail(m_caselessTails, lower) + QLatin1Char('/') +
           MatchedTail(m_exactTails, fileName);
}
