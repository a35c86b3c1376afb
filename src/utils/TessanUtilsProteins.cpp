#include "utils/TessanUtilsProteins.h"

#include "utils/TessanUtilsResultFile_p.h"
#include "zeq_common_stable/QueryUtils.h"
#include "zeq_common_stable/StableConstants.h"

#include <QSet>

namespace zeq
{

Error getProteinSequencesFromTsnres(const QString &path,
                                    int decoyLimit,
                                    QList<QString> *names,
                                    QList<QString> *sequences)
{
    Error err;
    if (!names || !sequences) {
        err = Error(kBadParameterError, QStringLiteral("No lists for the proteins of %1").arg(path));
        return ZEQ_ECATCH(err);
    }
    ResultFileConnection connection(QStringLiteral("get_protein_information_from_tsnres"), path);
    err = connection.open();
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    QSqlQuery query = makeQuery(connection.db(), true);
    err = db::qExecCmd(query,
                       QStringLiteral("SELECT ProteinsId, ProteinName, ProteinSequence, Flags FROM ProteinsFound JOIN "
                                      "Proteins ON ProteinsFound.ProteinsId == Proteins.Id ORDER BY "
                                      "ProteinsFound.ProteinRank"),
                       Q_FUNC_INFO,
                       __LINE__);
    if (err.hasError()) {
        err = connection.naming(err);
        return ZEQ_ECATCH(err);
    }
    // A set beside the list: result files hold tens of thousands of proteins.
    QSet<QString> seen(sequences->cbegin(), sequences->cend());
    int decoys = 0;
    while (query.next()) {
        if (query.value(3).toString().compare(kdecoy, Qt::CaseInsensitive) == 0) {
            if (decoys >= decoyLimit) {
                break;
            }
            ++decoys;
            continue;
        }
        const QString sequence = query.value(2).toString();
        if (seen.contains(sequence)) {
            continue;
        }
        seen.insert(sequence);
        names->append(query.value(1).toString());
        sequences->append(sequence);
    }
    err = connection.rowsError(query);
    if (err.hasError()) {
        return ZEQ_ECATCH(err);
    }
    return err;
}

} // namespace zeq
