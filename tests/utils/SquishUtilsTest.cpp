#include "utils/SquishUtils.h"

#include "support/MessageGuard.h"

#include <QObject>

#include <gtest/gtest.h>

namespace SquishUtils = zeq::SquishUtils;

class Dialog : public QObject
{
    Q_OBJECT
};

class Editor : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;
};

TEST(SquishUtilsTest, ObjectNames)
{
    Dialog dialog;
    const struct {
        const char *name;
        bool fromText; // createInternal rather than setObjectName
        QObject *parent;
        QString given;
        const char *text;
        QString expected;
    } rows[] = {
        { "with a parent", false, &dialog, u"save"_qs, nullptr, u"Dialog/save_Editor"_qs },
        { "camel case from the text", true, nullptr, u"ignored"_qs, "save file-name", u"saveFileName_Editor"_qs },
        { "the name when the text is empty", true, &dialog, u"print page"_qs, "", u"Dialog/printPage_Editor"_qs },
        { "nothing at all", true, nullptr, QString(), nullptr, u"tmpName_Editor"_qs },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        Editor editor(row.parent);
        if (row.fromText) {
            SquishUtils::createInternal(&editor, row.given, row.text);
        } else {
            SquishUtils::setObjectName(&editor, row.given);
        }
        EXPECT_EQ(editor.objectName(), row.expected);
    }
}

TEST(SquishUtilsTest, RepeatedNamesAreReportedPerClass)
{
    Editor editor;
    Dialog dialog;
    zeq::test::MessageGuard guard;
    SquishUtils::createInternal(&editor, u"unique check"_qs, nullptr);
    SquishUtils::createInternal(&dialog, u"unique check"_qs, nullptr);
    EXPECT_TRUE(guard.messages().isEmpty()) << "another class may use the same name";
    SquishUtils::createInternal(&editor, u"unique check"_qs, nullptr);
    ASSERT_EQ(guard.messages().size(), 1);
    EXPECT_EQ(guard.messages().first().text, u"Object name: uniqueCheck is not unique!"_qs);
}

#include "SquishUtilsTest.moc"
