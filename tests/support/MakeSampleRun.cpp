// Writes the bundled sample run data/samples/: sample.fasta (five made-up proteins), sample.mzML (MS1
// spectra of tryptic peptides of those proteins and of two of them intact at several charges, and
// MS2 spectra of two of the peptides) and sample_truth.csv (every cluster put in, as scan, charge
// and monoisotopic m/z; for an MS2 spectrum, its precursor). Clusters come from the averagine model
// with a fixed seed, so the files are the same on every run.
// Usage: zeq_make_sample_run <folder>
#include "support/SpectrumFileWriter.h"
#include "support/SyntheticPeaks.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <optional>

using namespace zeq::test;

namespace
{

struct Protein {
    const char *accession;
    const char *entry;
    const char *description;
    const char *sequence;
};

const Protein kProteins[] = {
    { "ZQ0001",
      "SRA1_ZEQSA",
      "Small ribosome-associated sample protein",
      "MAGAKGYDLSKAKFNAHWEDRVSPLTDKMVIRLIEPLKPIAEGDRPWTLDHLSDTFWYIR"
      "SKNVGKSMQERKLRSKLNNGFPCF" },
    { "ZQ0002",
      "TRXL_ZEQSA",
      "Thioredoxin-like sample protein",
      "MLALVDIYNSGEPFTKVSCGADSALVIVTIRTSAEHQEPEFVAPNLASLTSDILGYKSHD"
      "KLIHHELMKALRSELSNHPLKVHQICTPGKDRHKSIAITGNAGTIVYKISHPYYATGDCK"
      "LLEAKSVDIFE" },
    { "ZQ0003",
      "CSDP_ZEQSA",
      "Cold-shock domain sample protein",
      "MTGFNEQQETPAPLRRAYVVLALSVSGLPGTPVQYFEYTELEQENHPGQYEDQAVEIRAI"
      "VSFYDDKGIVNRVDMQRDGEHAFLSGDEYAPGFNGYKGRIIFKLRIEGMRNNDGDRGVEA"
      "PFESLRIDVAPIDIVNGIGKGAYLQGEDASNKAPEKAP" },
    { "ZQ0004",
      "RBPG_ZEQSA",
      "RNA-binding sample protein",
      "MVPFHKAEREFASKPFPAKIMSTQQYIYPPGRVGSQRKAETVISVDLRVLQRLFKNPRSV"
      "GWGNHRLHVPYTETSVARGTEAVVILEGKSMLRLAPGAKYKGLGKAKLVVAEFPQPIRVG"
      "EALSPQMKFAFYAVSGVAIRKLKFRILAMMDNSEQLFSVILDANLEAHPQGDVGSESIFD"
      "RFLVAKLKASRDGPPHIKAFERPIPQR" },
    { "ZQ0005",
      "MTSP_ZEQSA",
      "Membrane transport sample protein",
      "MGNPSILALAIIFIDSARASDVAAPPVHVGSVARKEIAHFQYCLYHKRMSQIRSGVLRGV"
      "LETIYRYGDSDFRKGPMLPYKVIIIGKAKLRTILNNAPDIIMDKHGTQLIQNDLELLKVA"
      "ASNIPLRVDPEIQALDPGHEAQITLNLSKTLWPAFKTSNFLNRIVSGKILDIFSVKHHNP"
      "APEDSFRARTLDSSSFLSEDEDLSHEPSMELYLILNLKLIIDHIYLLEIFFLVFRVQELL"
      "YDIEVPGVLWWTASCVAEFSQRIMATHTPHTPGQPKRAHSYSESQGLYDEEYNTTI" },
};

constexpr double kWaterMass = 18.0105646863;

double residueMass(char residue)
{
    switch (residue) {
    case 'G':
        return 57.02146372;
    case 'A':
        return 71.03711379;
    case 'S':
        return 87.03202841;
    case 'P':
        return 97.05276385;
    case 'V':
        return 99.06841391;
    case 'T':
        return 101.04767847;
    case 'C':
        return 103.00918478;
    case 'L':
    case 'I':
        return 113.08406398;
    case 'N':
        return 114.04292744;
    case 'D':
        return 115.02694303;
    case 'Q':
        return 128.05857751;
    case 'K':
        return 128.09496302;
    case 'E':
        return 129.04259309;
    case 'M':
        return 131.04048491;
    case 'H':
        return 137.05891186;
    case 'F':
        return 147.06841391;
    case 'R':
        return 156.10111103;
    case 'Y':
        return 163.06332853;
    case 'W':
        return 186.07931295;
    default:
        return 0.0;
    }
}

double neutralMass(const QByteArray &sequence)
{
    double mass = kWaterMass;
    for (const char c : sequence) {
        mass += residueMass(c);
    }
    return mass;
}

/// A peptide of a protein (or the whole protein when `peptide` is null) at one charge.
struct Analyte {
    int protein;
    const char *peptide;
    int charge;
    double height;

    [[nodiscard]] QByteArray sequence() const { return QByteArray(peptide ? peptide : kProteins[protein].sequence); }
    [[nodiscard]] QString origin() const
    {
        return QStringLiteral("%1 %2").arg(QString::fromLatin1(kProteins[protein].accession),
                                           peptide ? QString::fromLatin1(peptide) : QStringLiteral("intact"));
    }
};

struct ScanPlan {
    int scan;
    int msLevel;
    double retentionTime; ///< minutes
    QList<Analyte> analytes; ///< MS1: the clusters; MS2: the precursor (first) in the MS1 scan before
    double noiseLow;
    double noiseHigh;
};

const ScanPlan kScans[] = {
    { 1,
      1,
      10.0,
      { { 1, "VSCGADSALVIVTIR", 2, 6.0e5 },
        { 1, "TSAEHQEPEFVAPNLASLTSDILGYK", 3, 3.0e5 },
        { 4, "HGTQLIQNDLELLK", 2, 4.5e5 },
        { 4, "GVLETIYR", 1, 2.0e5 },
        { 2, "AIVSFYDDK", 2, 1.5e5 } },
      500.0,
      1000.0 },
    { 2, 2, 10.02, { { 1, "VSCGADSALVIVTIR", 2, 0.0 } }, 150.0, 1400.0 },
    { 3,
      1,
      10.5,
      { { 3, "LHVPYTETSVAR", 2, 5.0e5 },
        { 2, "DGEHAFLSGDEYAPGFNGYK", 3, 4.0e5 },
        { 2, "IDVAPIDIVNGIGK", 2, 3.0e5 },
        { 4, "VDPEIQALDPGHEAQITLNLSK", 3, 2.5e5 } },
      660.0,
      820.0 },
    { 4, 2, 10.52, { { 2, "DGEHAFLSGDEYAPGFNGYK", 3, 0.0 } }, 150.0, 2000.0 },
    { 5,
      1,
      12.0,
      { { 0, nullptr, 8, 2.5e5 },
        { 0, nullptr, 9, 4.5e5 },
        { 0, nullptr, 10, 4.0e5 },
        { 0, nullptr, 11, 2.0e5 },
        { 1, nullptr, 16, 2.0e5 },
        { 1, nullptr, 17, 1.2e5 } },
      800.0,
      1300.0 },
};

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

bool writeText(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(text.toUtf8()) >= 0 && file.flush();
}

QString fasta()
{
    QString text;
    for (const Protein &p : kProteins) {
        text += QStringLiteral(">sp|%1|%2 %3 OS=Zeq sample organism\n")
                    .arg(QString::fromLatin1(p.accession),
                         QString::fromLatin1(p.entry),
                         QString::fromLatin1(p.description));
        const QString sequence = QString::fromLatin1(p.sequence);
        for (qsizetype i = 0; i < sequence.size(); i += 60) {
            text += sequence.mid(i, 60) + u'\n';
        }
    }
    return text;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: zeq_make_sample_run <folder>\n");
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    if (!folder.mkpath(QStringLiteral("."))) {
        std::fprintf(stderr, "zeq_make_sample_run: can't create %s\n", argv[1]);
        return 1;
    }
    QString truth = QStringLiteral("scan,charge,mono_mz,neutral_mass,origin\n");
    QList<SpectrumToWrite> spectra;
    for (const ScanPlan &plan : kScans) {
        SyntheticPeaks peaks(20261205 + plan.scan);
        peaks.setJitter(2.0, 0.05);
        SpectrumToWrite s;
        s.scan = plan.scan;
        s.retentionTime = plan.retentionTime;
        s.msLevel = plan.msLevel;
        const Analyte &first = plan.analytes.constFirst();
        const bool ms2 = plan.msLevel == 2;
        if (ms2) {
            // Singly charged y ions of the precursor, y3 upwards.
            s.precursorMz = monoMzOf(neutralMass(first.sequence()), first.charge);
            const QByteArray sequence = first.sequence();
            for (qsizetype k = 3; k < sequence.size() - 1; k += 2) {
                peaks.addCluster(neutralMass(sequence.right(k)), 1, 1.0e4 * double(k));
            }
        }
        for (const Analyte &a : plan.analytes) {
            const double mass = neutralMass(a.sequence());
            const double mono = ms2 ? monoMzOf(mass, a.charge) : peaks.addCluster(mass, a.charge, a.height);
            truth +=
                QStringLiteral("%1,%2,%3,%4,%5%6\n")
                    .arg(plan.scan)
                    .arg(a.charge)
                    .arg(number(mono, 6), number(mass, 6), ms2 ? QStringLiteral("precursor ") : QString(), a.origin());
        }
        peaks.addNoisePeaks(40, plan.noiseLow, plan.noiseHigh, 3.0e3);
        s.points = peaks.points();
        spectra.append(s);
    }
    const QString mzml =
        writeSpectrumFile(folder.filePath(QStringLiteral("sample.mzML")), SpectrumFileKind::MzML64Zlib, spectra);
    if (!mzml.isEmpty()) {
        std::fprintf(stderr, "zeq_make_sample_run: %s\n", qPrintable(mzml));
        return 1;
    }
    for (const auto &[name, text] : { std::pair{ QStringLiteral("sample_truth.csv"), truth },
                                      std::pair{ QStringLiteral("sample.fasta"), fasta() } }) {
        if (!writeText(folder.filePath(name), text)) {
            std::fprintf(stderr, "zeq_make_sample_run: can't write %s\n", qPrintable(folder.filePath(name)));
            return 1;
        }
    }
    return 0;
}
