#include "db/AminoAcidMap_p.h"
#include "db/ModificationsManager.h"

namespace zeq
{

Error ModificationsManager::parseModificationNameWithMass(QStringView text,
                                                          QString *name,
                                                          double *mass,
                                                          ErrorWarningMessages *messages)
{
    ErrorWarningMessages local;
    ErrorWarningMessages &lines = messages ? *messages : local;
    const qsizetype slash = text.lastIndexOf(u'/');
    if (slash < 0) {
        const QString line = QStringLiteral("Missing mass in modification namelist \"%1\"\n").arg(text);
        lines.errors.append(line);
        Error err(kBadParameterError, line);
        return ZEQ_ECATCH(err);
    }
    const QStringView massText = text.mid(slash + 1);
    bool ok = false;
    const double value = massText.toDouble(&ok);
    if (!ok) {
        const QString line =
            QStringLiteral("Invalid mass \"%1\" in modification namelist \"%2\"\n").arg(massText, text);
        lines.errors.append(line);
        Error err(kBadParameterError, line);
        return ZEQ_ECATCH(err);
    }
    if (name) {
        *name = text.first(slash).trimmed().toString();
    }
    if (mass) {
        *mass = value;
    }
    return Error();
}

Error ModificationsManager::modNamesAndPositionsListFromTessanStyleMods(QString &mods,
                                                                        QString *names,
                                                                        QString *positions)
{
    Error err;
    if (!names || !positions) {
        err.setError(kBadParameterError).addErrorMessage(QStringLiteral("No lists to fill from \"%1\"").arg(mods));
        return ZEQ_ECATCH(err);
    }
    if (mods.isEmpty()) {
        return err;
    }
    for (const QString &part : mods.split(u';')) {
        const QList<QString> pieces = part.split(u'|');
        if (pieces.size() != 2) {
            err.setError(kError).addErrorMessage(QStringLiteral("Mod string is not in expected format."));
            return ZEQ_ECATCH(err);
        }
        positions->append(pieces.at(0) + u',');
        names->append(pieces.at(1) + u',');
    }
    return err;
}

void ModificationsManager::ModificationsEntry::setModName(const QString &name)
{
    m_modName = name.trimmed();
    m_mutationBeforeLetter = 0;
    m_mutationAfterLetter = 0;
    if (m_modName.contains(QStringLiteral("->"))) {
        std::tie(m_mutationBeforeLetter, m_mutationAfterLetter) = mutationLetters(m_modName);
    }
}

} // namespace zeq
