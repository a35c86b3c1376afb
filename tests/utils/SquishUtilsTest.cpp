#include "utils/SquishUtils.h"

#include "support/MessageGuard.h"
#include "utils/QtPropertySerializer.h"

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
    Q_PROPERTY(int level READ level WRITE setLevel)
    Q_PROPERTY(QString title READ title)
public:
    using QObject::QObject;
    int level() const { return m_level; }
    void setLevel(int level) { m_level = level; }
    QString title() const { return u"fixed"_qs; }

private:
    int m_level = 0;
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
        { "without a parent", false, nullptr, u"open"_qs, nullptr, u"open_Editor"_qs },
        { "camel case from the text", true, nullptr, u"ignored"_qs, "save file-name", u"saveFileName_Editor"_qs },
        { "separators in a row", true, nullptr, QString(), "  zoom__in..all- ", u"zoomInAll_Editor"_qs },
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
    SquishUtils::setObjectName(nullptr, u"nothing"_qs);
    SquishUtils::createInternal(nullptr, u"nothing"_qs, "nothing");
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
    EXPECT_EQ(guard.messages().first().category, u"zeq.common_core"_qs);
    EXPECT_EQ(editor.objectName(), u"uniqueCheck_Editor"_qs) << "the name is kept";
}

TEST(SquishUtilsTest, PropertyPrimitives)
{
    using Serializer = zeq::QtPropertySerializerPrivate<1>;
    Editor editor;
    const QObject &asObject = editor;
    const QMetaObject *meta = Serializer::getMetaObject(asObject);
    ASSERT_EQ(meta, &Editor::staticMetaObject);
    const QMetaProperty level = meta->property(meta->indexOfProperty("level"));
    const QMetaProperty title = meta->property(meta->indexOfProperty("title"));

    EXPECT_TRUE(Serializer::writeProperty(&editor, level, 7));
    EXPECT_TRUE(Serializer::writeProperty(&editor, level, u"8"_qs));
    EXPECT_EQ(Serializer::propertyFromObject(editor, "level"), QVariant(8));
    EXPECT_FALSE(Serializer::writeProperty(&editor, title, u"changed"_qs));
    EXPECT_FALSE(Serializer::writeProperty(nullptr, level, 1));
    EXPECT_FALSE(Serializer::writeProperty(&editor, QMetaProperty(), 1));
    EXPECT_FALSE(Serializer::propertyFromObject(editor, "missing").isValid());
    EXPECT_FALSE(Serializer::propertyFromObject(editor, nullptr).isValid());
}

#include "SquishUtilsTest.moc"
