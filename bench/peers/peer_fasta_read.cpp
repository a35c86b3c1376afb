// The other library's FASTA reader, whole process, for the comparison in docs/performance.md:
// it reads every protein through its handler and prints what `zeq fasta stats` counts first
// (proteins, residues), so both programs do at least the same work on the same file.
#include <QFile>

#include <cstdio>
#include <pappsomspp/fasta/fastareader.h>

namespace
{
class Counter : public pappso::FastaHandlerInterface
{
public:
    void setSequence(const QString &, const QString &sequence) override
    {
        ++proteins;
        residues += sequence.size();
    }
    long long proteins = 0;
    long long residues = 0;
};
} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE.fasta\n", argv[0]);
        return 2;
    }
    // parse() opens the file itself and throws when it cannot.
    QFile file(QString::fromLocal8Bit(argv[1]));
    Counter counter;
    pappso::FastaReader reader(counter);
    reader.parse(file);
    std::printf("proteins\t%lld\nresidues\t%lld\n", counter.proteins, counter.residues);
    return 0;
}
