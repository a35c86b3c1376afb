#include "constants/StringConstants.h"

#include "constants/CoreMainWindowGlobals.h"
#include "constants/CustomFieldsStringConstants.h"

#include <gtest/gtest.h>

namespace
{

struct Plain {
    const char *name;
    const QString *constant;
};

struct Exception {
    const char *name;
    const QString *constant;
    const char *value;
};

#define ZEQ_PLAIN_STRING_CONSTANT(name) Plain{ #name, &name },
const Plain plainConstants[] = {
#include "constants/StringConstantsPlain.inc"
};
#undef ZEQ_PLAIN_STRING_CONSTANT

const Exception exceptions[] = {
    { "AUTOMATION_ZEQFILEDIALOG_OPEN_FILE_NAME_KEY",
      &AUTOMATION_ZEQFILEDIALOG_OPEN_FILE_NAME_KEY,
      "AUTOMATION_ZEQFILEDIALOG_OPEN_FILE_NAME" },
    { "AUTOMATION_ZEQFILEDIALOG_SAVE_FILE_NAME_KEY",
      &AUTOMATION_ZEQFILEDIALOG_SAVE_FILE_NAME_KEY,
      "AUTOMATION_ZEQFILEDIALOG_SAVE_FILE_NAME" },
    { "k_enter_protein_name_", &k_enter_protein_name_, "<enter protein name>" },
    { "kAll_modified_peptides", &kAll_modified_peptides, "All modified peptides" },
    { "kAll_peptides", &kAll_peptides, "All peptides" },
    { "kAmmonia_loss", &kAmmonia_loss, "Ammonia-loss" },
    { "kLumet", &kLumet, "lumet" },
    { "kTessan", &kTessan, "tessan" },
    { "kHALVANE_LAYOUT_FILE", &kHALVANE_LAYOUT_FILE, "HALVANE__LAYOUT_FILE" },
    { "kC_term", &kC_term, "C-term" },
    { "kComputed_Mass", &kComputed_Mass, "Computed\nMass" },
    { "kCorresponding_wildtype_peptides", &kCorresponding_wildtype_peptides, "Corresponding wildtype peptides" },
    { "kdetached_glycans", &kdetached_glycans, "detached-glycans" },
    { "kdigestedOligo_documentViewMode", &kdigestedOligo_documentViewMode, "digestedOligo/documentViewMode" },
    { "kDisulfide_bonds", &kDisulfide_bonds, "Disulfide bonds" },
    { "kDisulfides_crosslinks", &kDisulfides_crosslinks, "Disulfides/crosslinks" },
    { "kFeatureFinderV24DOptions", &kFeatureFinderV24DOptions, "FeatureFinder4DOptions" },
    { "kFeatures_EnableCustomFields", &kFeatures_EnableCustomFields, "Features/EnableCustomFields" },
    { "kFile_origin", &kFile_origin, "File origin" },
    { "kFragmentTolerance", &kFragmentTolerance, "Fragment tolerance" },
    { "kGenerateMSpathtemplateCSV", &kGenerateMSpathtemplateCSV, "Generate MS path template CSV..." },
    { "kGenerateMultidocumentReport", &kGenerateMultidocumentReport, "Generate &Multi-document Report..." },
    { "kinsilico_from_ui", &kinsilico_from_ui, "insilico-from-ui" },
    { "kIntact_EnableDebugPlots", &kIntact_EnableDebugPlots, "Intact/EnableDebugPlots" },
    { "kOVTANewProjectPresetLoadFileFilter",
      &kOVTANewProjectPresetLoadFileFilter,
      "kOVTANewProjectPresetLoadFileFilter" },
    { "kOVTANewProjectPresetSaveFileFilter",
      &kOVTANewProjectPresetSaveFileFilter,
      "kOVTANewProjectPresetSaveFileFilter" },
    { "kLogProbBars", &kLogProbBars, "|Log Prob|" },
    { "kN_term", &kN_term, "N-term" },
    { "kNew_folder", &kNew_folder, "New folder" },
    { "kNon_reference", &kNon_reference, "Non-reference" },
    { "kOligoSearch", &kOligoSearch, "oligo_search" },
    { "kpeptide__by_charge_", &kpeptide__by_charge_, "peptide (by charge)" },
    { "kpeptide__many_samples_", &kpeptide__many_samples_, "peptide (many samples)" },
    { "kpeptide__MS2_", &kpeptide__MS2_, "peptide (MS2)" },
    { "kpeptide__per_sample_", &kpeptide__per_sample_, "peptide (per sample)" },
    { "kzeq_queuer_saved_zeqbat", &kzeq_queuer_saved_zeqbat, "zeq_queuer_saved.zeqbat" },
    { "kProteinCoverage_AddDuplicates", &kProteinCoverage_AddDuplicates, "ProteinCoverage/AddDuplicates" },
    { "kProteinCTerm", &kProteinCTerm, "Protein CTerm" },
    { "kProteinNTerm", &kProteinNTerm, "Protein NTerm" },
    { "kProteinStructure_File", &kProteinStructure_File, "ProteinStructure/File" },
    { "kRawFile", &kRawFile, "RAW" },
    { "kReference_or_Non_reference", &kReference_or_Non_reference, "Reference or Non-reference" },
    { "kroot_level", &kroot_level, "root-level" },
    { "kSequence_Variants", &kSequence_Variants, "Sequence Variants" },
    { "kShowMSLabelDots", &kShowMSLabelDots, "Rendering/ShowMSLabelDots" },
    { "kUndetectedSequenceCommentTag", &kUndetectedSequenceCommentTag, "ND" },
    { "kWildtype_peptides", &kWildtype_peptides, "Wildtype peptides" },
    { "ky_value", &ky_value, "y-value" },
};

} // namespace

TEST(StringConstantsTest, PlainConstantsHoldTheirIdentifierWithoutK)
{
    EXPECT_EQ(std::size(plainConstants), 858u);
    for (const Plain &c : plainConstants) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(*c.constant, QString::fromLatin1(c.name + 1));
    }
}

TEST(StringConstantsTest, ExceptionsHoldTheirOwnText)
{
    EXPECT_EQ(std::size(exceptions), 48u);
    for (const Exception &c : exceptions) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(*c.constant, QString::fromUtf8(c.value));
    }
}

TEST(StringConstantsTest, ClassScopedConstants)
{
    EXPECT_EQ(CoreMainWindowGlobals::kDefaultLayout_ini, u"DefaultLayout.ini");
    EXPECT_EQ(CoreMainWindowGlobals::kProteinCoveragePlot, u"ProteinCoveragePlot");
    EXPECT_EQ(CoreMainWindowGlobals::khistogramPlotView, u"histogramPlotView");
    EXPECT_EQ(CoreMainWindowGlobals::kplotView, u"plotView");
    EXPECT_EQ(CoreMainWindowGlobals::kplotView_2, u"plotView_2");
    EXPECT_EQ(CoreMainWindowGlobals::kdefaultPlotExportImageSize, QSize(470, 148));

    using C = zeq::CustomFieldsStringConstants;
    EXPECT_EQ(C::COL_FILEPATH, u"FilePath");
    const std::pair<QLatin1String, const char *> latin[] = {
        { C::HEADER_NAME, "CustomFields" },
        { C::HEADER_CONTENT, "HeaderContent" },
        { C::TABLE_CONTENT, "TableContent" },
        { C::ATTRIBUTES_COLUMN_TYPE, "ColumnType" },
        { C::ATTRIBUTES_EXPECTATION, "Expectation" },
        { C::ATTRIBUTES_COLUMN_NAME, "ColumnName" },
        { C::MASS_TYPE, "Mass" },
        { C::SAMPLE_TYPE, "SampleName" },
    };
    for (const auto &[constant, text] : latin) {
        EXPECT_EQ(constant, QLatin1String(text));
    }
}
