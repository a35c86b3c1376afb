#pragma once

#include "zeq_common_core_export.h"

#include <QString>

// The shared vocabulary of keys: settings and option groups, option-table keys, table and column
// names, layout and settings files, file-dialog filters, menu texts and UI-test object names.
// Every application spells each key through these constants. Built at library load, never changed.

// Most constants hold their own name without the leading k; they are listed once, in
// StringConstantsPlain.inc.
#define ZEQ_PLAIN_STRING_CONSTANT(name) ZEQ_COMMON_CORE_EXPORT extern const QString name;
#include "constants/StringConstantsPlain.inc"
#undef ZEQ_PLAIN_STRING_CONSTANT

// The rest hold other texts.
ZEQ_COMMON_CORE_EXPORT extern const QString
    AUTOMATION_ZEQFILEDIALOG_OPEN_FILE_NAME_KEY; // "AUTOMATION_ZEQFILEDIALOG_OPEN_FILE_NAME"
ZEQ_COMMON_CORE_EXPORT extern const QString
    AUTOMATION_ZEQFILEDIALOG_SAVE_FILE_NAME_KEY; // "AUTOMATION_ZEQFILEDIALOG_SAVE_FILE_NAME"
ZEQ_COMMON_CORE_EXPORT extern const QString k_enter_protein_name_; // "<enter protein name>"
ZEQ_COMMON_CORE_EXPORT extern const QString kAll_modified_peptides; // "All modified peptides"
ZEQ_COMMON_CORE_EXPORT extern const QString kAll_peptides; // "All peptides"
ZEQ_COMMON_CORE_EXPORT extern const QString kAmmonia_loss; // "Ammonia-loss"
ZEQ_COMMON_CORE_EXPORT extern const QString kC_term; // "C-term"
ZEQ_COMMON_CORE_EXPORT extern const QString kComputed_Mass; // "Computed\nMass"
ZEQ_COMMON_CORE_EXPORT extern const QString kCorresponding_wildtype_peptides; // "Corresponding wildtype peptides"
ZEQ_COMMON_CORE_EXPORT extern const QString kdetached_glycans; // "detached-glycans"
ZEQ_COMMON_CORE_EXPORT extern const QString kdigestedOligo_documentViewMode; // "digestedOligo/documentViewMode"
ZEQ_COMMON_CORE_EXPORT extern const QString kDisulfide_bonds; // "Disulfide bonds"
ZEQ_COMMON_CORE_EXPORT extern const QString kDisulfides_crosslinks; // "Disulfides/crosslinks"
ZEQ_COMMON_CORE_EXPORT extern const QString kFeatureFinderV24DOptions; // "FeatureFinder4DOptions"
ZEQ_COMMON_CORE_EXPORT extern const QString kFeatures_EnableCustomFields; // "Features/EnableCustomFields"
ZEQ_COMMON_CORE_EXPORT extern const QString kFile_origin; // "File origin"
ZEQ_COMMON_CORE_EXPORT extern const QString kFragmentTolerance; // "Fragment tolerance"
ZEQ_COMMON_CORE_EXPORT extern const QString kGenerateMSpathtemplateCSV; // "Generate MS path template CSV..."
ZEQ_COMMON_CORE_EXPORT extern const QString kGenerateMultidocumentReport; // "Generate &Multi-document Report..."
ZEQ_COMMON_CORE_EXPORT extern const QString kHALVANE_LAYOUT_FILE; // "HALVANE__LAYOUT_FILE"
ZEQ_COMMON_CORE_EXPORT extern const QString kinsilico_from_ui; // "insilico-from-ui"
ZEQ_COMMON_CORE_EXPORT extern const QString kIntact_EnableDebugPlots; // "Intact/EnableDebugPlots"
ZEQ_COMMON_CORE_EXPORT extern const QString kLogProbBars; // "|Log Prob|"
ZEQ_COMMON_CORE_EXPORT extern const QString kLumet; // "lumet"
ZEQ_COMMON_CORE_EXPORT extern const QString kN_term; // "N-term"
ZEQ_COMMON_CORE_EXPORT extern const QString kNew_folder; // "New folder"
ZEQ_COMMON_CORE_EXPORT extern const QString kNon_reference; // "Non-reference"
ZEQ_COMMON_CORE_EXPORT extern const QString kOligoSearch; // "oligo_search"
ZEQ_COMMON_CORE_EXPORT extern const QString
    kOVTANewProjectPresetLoadFileFilter; // "kOVTANewProjectPresetLoadFileFilter"
ZEQ_COMMON_CORE_EXPORT extern const QString
    kOVTANewProjectPresetSaveFileFilter; // "kOVTANewProjectPresetSaveFileFilter"
ZEQ_COMMON_CORE_EXPORT extern const QString kpeptide__by_charge_; // "peptide (by charge)"
ZEQ_COMMON_CORE_EXPORT extern const QString kpeptide__many_samples_; // "peptide (many samples)"
ZEQ_COMMON_CORE_EXPORT extern const QString kpeptide__MS2_; // "peptide (MS2)"
ZEQ_COMMON_CORE_EXPORT extern const QString kpeptide__per_sample_; // "peptide (per sample)"
ZEQ_COMMON_CORE_EXPORT extern const QString kProteinCoverage_AddDuplicates; // "ProteinCoverage/AddDuplicates"
ZEQ_COMMON_CORE_EXPORT extern const QString kProteinCTerm; // "Protein CTerm"
ZEQ_COMMON_CORE_EXPORT extern const QString kProteinNTerm; // "Protein NTerm"
ZEQ_COMMON_CORE_EXPORT extern const QString kProteinStructure_File; // "ProteinStructure/File"
ZEQ_COMMON_CORE_EXPORT extern const QString kRawFile; // "RAW"
ZEQ_COMMON_CORE_EXPORT extern const QString kReference_or_Non_reference; // "Reference or Non-reference"
ZEQ_COMMON_CORE_EXPORT extern const QString kroot_level; // "root-level"
ZEQ_COMMON_CORE_EXPORT extern const QString kSequence_Variants; // "Sequence Variants"
ZEQ_COMMON_CORE_EXPORT extern const QString kShowMSLabelDots; // "Rendering/ShowMSLabelDots"
ZEQ_COMMON_CORE_EXPORT extern const QString kTessan; // "tessan"
ZEQ_COMMON_CORE_EXPORT extern const QString kUndetectedSequenceCommentTag; // "ND"
ZEQ_COMMON_CORE_EXPORT extern const QString kWildtype_peptides; // "Wildtype peptides"
ZEQ_COMMON_CORE_EXPORT extern const QString ky_value; // "y-value"
ZEQ_COMMON_CORE_EXPORT extern const QString kzeq_queuer_saved_zeqbat; // "zeq_queuer_saved.zeqbat"
