#include "constants/StringConstants.h"

#include <QLatin1String>

#define ZEQ_PLAIN_STRING_CONSTANT(name) const QString name = QString(QLatin1String(#name).sliced(1));
#include "constants/StringConstantsPlain.inc"
#undef ZEQ_PLAIN_STRING_CONSTANT

const QString AUTOMATION_ZEQFILEDIALOG_OPEN_FILE_NAME_KEY = QStringLiteral("AUTOMATION_ZEQFILEDIALOG_OPEN_FILE_NAME");
const QString AUTOMATION_ZEQFILEDIALOG_SAVE_FILE_NAME_KEY = QStringLiteral("AUTOMATION_ZEQFILEDIALOG_SAVE_FILE_NAME");
const QString k_enter_protein_name_ = QStringLiteral("<enter protein name>");
const QString kAll_modified_peptides = QStringLiteral("All modified peptides");
const QString kAll_peptides = QStringLiteral("All peptides");
const QString kAmmonia_loss = QStringLiteral("Ammonia-loss");
const QString kC_term = QStringLiteral("C-term");
const QString kComputed_Mass = QStringLiteral("Computed\nMass");
const QString kCorresponding_wildtype_peptides = QStringLiteral("Corresponding wildtype peptides");
const QString kdetached_glycans = QStringLiteral("detached-glycans");
const QString kdigestedOligo_documentViewMode = QStringLiteral("digestedOligo/documentViewMode");
const QString kDisulfide_bonds = QStringLiteral("Disulfide bonds");
const QString kDisulfides_crosslinks = QStringLiteral("Disulfides/crosslinks");
const QString kFeatureFinderV24DOptions = QStringLiteral("FeatureFinder4DOptions");
const QString kFeatures_EnableCustomFields = QStringLiteral("Features/EnableCustomFields");
const QString kFile_origin = QStringLiteral("File origin");
const QString kFragmentTolerance = QStringLiteral("Fragment tolerance");
const QString kGenerateMSpathtemplateCSV = QStringLiteral("Generate MS path template CSV...");
const QString kGenerateMultidocumentReport = QStringLiteral("Generate &Multi-document Report...");
const QString kHALVANE_LAYOUT_FILE = QStringLiteral("HALVANE__LAYOUT_FILE");
const QString kinsilico_from_ui = QStringLiteral("insilico-from-ui");
const QString kIntact_EnableDebugPlots = QStringLiteral("Intact/EnableDebugPlots");
const QString kLogProbBars = QStringLiteral("|Log Prob|");
const QString kLumet = QStringLiteral("lumet");
const QString kN_term = QStringLiteral("N-term");
const QString kNew_folder = QStringLiteral("New folder");
const QString kNon_reference = QStringLiteral("Non-reference");
const QString kOligoSearch = QStringLiteral("oligo_search");
const QString kOVTANewProjectPresetLoadFileFilter = QStringLiteral("kOVTANewProjectPresetLoadFileFilter");
const QString kOVTANewProjectPresetSaveFileFilter = QStringLiteral("kOVTANewProjectPresetSaveFileFilter");
const QString kpeptide__by_charge_ = QStringLiteral("peptide (by charge)");
const QString kpeptide__many_samples_ = QStringLiteral("peptide (many samples)");
const QString kpeptide__MS2_ = QStringLiteral("peptide (MS2)");
const QString kpeptide__per_sample_ = QStringLiteral("peptide (per sample)");
const QString kProteinCoverage_AddDuplicates = QStringLiteral("ProteinCoverage/AddDuplicates");
const QString kProteinCTerm = QStringLiteral("Protein CTerm");
const QString kProteinNTerm = QStringLiteral("Protein NTerm");
const QString kProteinStructure_File = QStringLiteral("ProteinStructure/File");
const QString kRawFile = QStringLiteral("RAW");
const QString kReference_or_Non_reference = QStringLiteral("Reference or Non-reference");
const QString kroot_level = QStringLiteral("root-level");
const QString kSequence_Variants = QStringLiteral("Sequence Variants");
const QString kShowMSLabelDots = QStringLiteral("Rendering/ShowMSLabelDots");
const QString kTessan = QStringLiteral("tessan");
const QString kUndetectedSequenceCommentTag = QStringLiteral("ND");
const QString kWildtype_peptides = QStringLiteral("Wildtype peptides");
const QString ky_value = QStringLiteral("y-value");
const QString kzeq_queuer_saved_zeqbat = QStringLiteral("zeq_queuer_saved.zeqbat");
