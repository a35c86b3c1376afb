#include "algo/BuiltInEnzymes.h"

#include "support/MessageGuard.h"
#include "support/TemporaryHome.h"

#include <QDir>
#include <QStandardPaths>

#include <gtest/gtest.h>

using zeq::ProteinDigestionItem;

namespace
{

// The known list is read once per process: write the custom file into a temporary home and build
// the list before any test runs, keeping the messages of that one build.
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

TEST(BuiltInEnzymesTest, CustomFileAppendsItsValidLinesInOrder)
{
    const QList<ProteinDigestionItem> known = CustomProteasesHome::s_known;
    ASSERT_EQ(known.size(), 14 + 6);
    EXPECT_EQ(known.first(), zeq::BuiltInProteases::kTrypsin);
    EXPECT_EQ(known.at(13).enzyme(), u"Other");
    QStringList custom;
    for (const ProteinDigestionItem &item : known.mid(14)) {
        custom.append(item.toString());
    }
    // The empty line is an entry without name; a bare name is looked up among the entries before it.
    EXPECT_EQ(custom,
              (QStringList{ u"MyEnzyme @ K,R | C-term"_qs,
                            QString(),
                            u"Mix @ K;D | C-term;N-term"_qs,
                            u"MyEnzyme @ K,R | C-term"_qs,
                            u"Unknown"_qs,
                            u"dual @ P;W,F | C-term;N-term"_qs }));
    EXPECT_EQ(ProteinDigestionItem::mapFromEnzyme(u"mix"_qs).digestRules().cutters(), zeq::DigestRules::CtermNterm);
}

TEST(BuiltInEnzymesTest, InvalidLinesAreLoggedAndSkipped)
{
    QStringList logged;
    for (const auto &message : CustomProteasesHome::s_messages) {
        EXPECT_EQ(message.type, QtCriticalMsg);
        EXPECT_EQ(message.category, u"zeq.common_core");
        logged.append(message.text);
    }
    EXPECT_EQ(logged, (QStringList{ u"Bad @ K | X-term is not valid"_qs, u"Two @ K;D | C-term is not valid"_qs }));
}
