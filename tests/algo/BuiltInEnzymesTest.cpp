#include "algo/BuiltInEnzymes.h"

#include "support/MessageGuard.h"
#include "support/TemporaryHome.h"

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

using zeq::ProteinDigestionItem;

namespace
{

// The known list is read once per process: build it here, with its messages, after writing the file.
class CustomProteasesHome : public zeq::test::TemporaryHome
{
public:
    void SetUp() override
    {
        TemporaryHome::SetUp();
        const QDir appData(QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation));
        const QString folder = QDir::cleanPath(appData.filePath(u"../General"_qs));
        ASSERT_TRUE(QDir().mkpath(folder));
        QFile file(folder + u"/CustomProteases.txt"_qs);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        // Written with Windows line ends, as the file usually is.
        file.write("MyEnzyme @ K,R | C-term\r\n"
                   "Bad @ K | X-term\r\n"
                   "\r\n"
                   "Mix @ K;D | C-term;N-term\r\n"
                   "myenz\r\n"
                   "Unknown\r\n"
                   "Two @ K;D | C-term\r\n"
                   " dual@w,f;p|nterm;Cterm\r\n");
        file.close();
        zeq::test::MessageGuard guard;
        s_known = ProteinDigestionItem::knownEnzymeDigestRules();
        s_messages = guard.messages();
    }

    static inline QList<ProteinDigestionItem> s_known;
    static inline QList<zeq::test::MessageGuard::Message> s_messages;
};

const auto *const s_home = ::testing::AddGlobalTestEnvironment(new CustomProteasesHome);

} // namespace

TEST(BuiltInEnzymesTest, CustomFileAppendsItsValidLinesAndLogsTheOthers)
{
    const QList<ProteinDigestionItem> known = CustomProteasesHome::s_known;
    ASSERT_EQ(known.size(), 14 + 6);
    EXPECT_EQ(known.first(), zeq::BuiltInProteases::kTrypsin);
    QStringList custom;
    for (const ProteinDigestionItem &item : known.mid(13)) {
        custom.append(item.toString());
    }
    // The empty line is an entry without name; a bare name is looked up among the entries before it.
    EXPECT_EQ(custom.join(u" / "_qs),
              u"Other / MyEnzyme @ K,R | C-term /  / Mix @ K;D | C-term;N-term / MyEnzyme @ K,R | C-term / Unknown / "
              u"dual @ P;W,F | C-term;N-term");

    ASSERT_EQ(CustomProteasesHome::s_messages.size(), 2);
    EXPECT_EQ(CustomProteasesHome::s_messages.first().text, u"Bad @ K | X-term is not valid"_qs);
}
