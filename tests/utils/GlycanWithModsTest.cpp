#include "utils/GlycanWithMods.h"

#include <gtest/gtest.h>

#include <limits>

using zeq::GlycanWithMods;

namespace
{

GlycanWithMods glycan(const QString &label, double mass, const QString &composition, const QString &adduct)
{
    GlycanWithMods g;
    g.setLabel(label);
    EXPECT_FALSE(g.setLabelMass(mass).hasError());
    g.setGlycanComposition(composition);
    g.setAdduct(adduct);
    return g;
}

} // namespace

TEST(GlycanWithModsTest, TextFormsAndRoundTrip)
{
    const struct {
        const char *name;
        GlycanWithMods glycan;
        const char *json; // nullptr: not pinned, round trip only
        const char *display;
    } rows[] = {
        { "label and composition",
          glycan(u"X"_qs, 1.5, u"HexNAc(2)"_qs, {}),
          R"j({"Adduct":"","Composition":"HexNAc(2)","Label":"X","LabelMass":1.5})j",
          "X HexNAc(2)" },
        { "quotes, non-ASCII, a 14-digit mass, no label",
          glycan({}, 120.06874828305, u"NeuAc(1)·\"Fuc\"(1)"_qs, u"H⁺"_qs),
          nullptr,
          "NeuAc(1)·\"Fuc\"(1) H⁺" },
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        const QString json = row.glycan.serialize();
        if (row.json) {
            EXPECT_EQ(json, QString::fromUtf8(row.json));
        }
        EXPECT_EQ(row.glycan.humanReadable(), QString::fromUtf8(row.display));
        GlycanWithMods back = glycan(u"stale"_qs, 9.0, u"stale"_qs, u"stale"_qs);
        ASSERT_FALSE(back.deserialize(json).hasError());
        EXPECT_EQ(back.serialize(), json);
    }
}

TEST(GlycanWithModsTest, DeserializeTakesWhatItCanAndRefusesTheRest)
{
    const struct {
        const char *text;
        const char *result; // serialize() after success, or the start of the error message
    } rows[] = {
        { R"j({"Label":"X","Composition":"Hex","Adduct":""})j",
          R"j({"Adduct":"","Composition":"Hex","Label":"X","LabelMass":0})j" },
        { R"j({"Label":"X","Composition":"Hex")j", "Glycan text is not JSON" },
        { R"j({"Label":1,"Composition":"Hex","Adduct":""})j", "Glycan JSON: \"Label\" is not a string" },
        { R"j({"Label":"X","Composition":"Hex"})j", "Glycan JSON has no \"Adduct\"" },
    };
    const GlycanWithMods original = glycan(u"L"_qs, 2.5, u"Hex"_qs, u"Na+"_qs);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.text);
        GlycanWithMods g = original;
        const Error err = g.deserialize(QString::fromUtf8(row.text));
        if (!err.hasError()) {
            EXPECT_EQ(g.serialize(), QString::fromUtf8(row.result));
            continue;
        }
        EXPECT_EQ(err.code(), kBadParameterError);
        EXPECT_TRUE(err.errorString().startsWith(QString::fromUtf8(row.result))) << err.errorString().toStdString();
        EXPECT_EQ(g.serialize(), original.serialize());
    }
}

// JSON has no NaN or infinity: such a mass would be written as null and come back as 0.
TEST(GlycanWithModsTest, NonFiniteLabelMassIsRefused)
{
    GlycanWithMods g = glycan(u"L"_qs, 2.5, u"Hex"_qs, {});
    for (const double mass : { std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity() }) {
        SCOPED_TRACE(mass);
        const Error err = g.setLabelMass(mass);
        EXPECT_EQ(err.code(), kBadParameterError);
        EXPECT_TRUE(err.errorString().contains(u"label mass"_qs)) << err.errorString().toStdString();
        EXPECT_EQ(g.labelMass(), 2.5);
    }
}
