#include "constants/StringConstants.h"

#include "constants/CoreMainWindowGlobals.h"
#include "constants/CustomFieldsStringConstants.h"

#include <QSet>

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

// Constants whose value is their identifier without the leading k, a few to a line.
// clang-format off
#define ZEQ_K(name) Plain{ #name, &name }
const Plain plainConstants[] = {
    ZEQ_K(k_act_code_), ZEQ_K(k_p_m_i_), ZEQ_K(kAAHighlightLetters), ZEQ_K(kAbsLogProb), ZEQ_K(kAccessionName),
    ZEQ_K(kAdditionalArguments), ZEQ_K(kAdducts), ZEQ_K(kAdvancedConfiguration), ZEQ_K(kAlias), ZEQ_K(kAllowedSites),
    ZEQ_K(kAminoAcidPosition), ZEQ_K(kAminoAcidResidue), ZEQ_K(kAnnoPresetComboBox), ZEQ_K(kAnnotationCategory),
    ZEQ_K(kAnnotationPlot), ZEQ_K(kAnnotationPlotTitle), ZEQ_K(kAnnotationValue), ZEQ_K(kAntibody), ZEQ_K(kApexpI),
    ZEQ_K(kApexPoint), ZEQ_K(kApexPositIntensity), ZEQ_K(kApexPositTime), ZEQ_K(kApexTimeOriginal), ZEQ_K(kAppLumt),
    ZEQ_K(kAuditTrailOperation), ZEQ_K(kAuditTrailTime), ZEQ_K(kAuditTrailUser), ZEQ_K(kAutoFindMasses),
    ZEQ_K(kbaseline), ZEQ_K(kbaseline_max_angle), ZEQ_K(kbaseline_max_limit), ZEQ_K(kbaseline_method),
    ZEQ_K(kbaseline_min_angle), ZEQ_K(kbaseline_min_limit), ZEQ_K(kbaseline_push_limit),
    ZEQ_K(kbaseline_push_tolerance), ZEQ_K(kBaselinePlotsId), ZEQ_K(kqueuer), ZEQ_K(kQUEUER_LAYOUT_FILE),
    ZEQ_K(kQUEUER_SETTINGS_FILE), ZEQ_K(kBestAbsLogProb), ZEQ_K(kBestLogProb), ZEQ_K(kBestScansId), ZEQ_K(kBestScore),
    ZEQ_K(kBiopolymerModelType), ZEQ_K(kBlock), ZEQ_K(kBothEnds), ZEQ_K(kBoundBottom), ZEQ_K(kBoundLeft),
    ZEQ_K(kBoundRight), ZEQ_K(kBoundTop), ZEQ_K(kBPI), ZEQ_K(kBPIOptions), ZEQ_K(klumet), ZEQ_K(kLUMET_LAYOUT_FILE),
    ZEQ_K(kLUMET_SETTINGS_FILE), ZEQ_K(kLumetBottomTable), ZEQ_K(kLumetDocumentProperty), ZEQ_K(kLumetInputFiles),
    ZEQ_K(kLumetInsilicoOptions), ZEQ_K(kLumetInsilicoTable), ZEQ_K(kLumetIsotopeOptions),
    ZEQ_K(kLumetModificationFilter), ZEQ_K(kLumetPeptideTableFilter), ZEQ_K(kLumetProjectOptions),
    ZEQ_K(kLumetTopTable), ZEQ_K(kFERROW_LAYOUT_FILE), ZEQ_K(kFERROW_SETTINGS_FILE), ZEQ_K(ktessan),
    ZEQ_K(kTessanComment), ZEQ_K(kCorvin), ZEQ_K(kcorvin), ZEQ_K(kCorvin_), ZEQ_K(kCORVIN_LAYOUT_FILE),
    ZEQ_K(kCORVIN_SETTINGS_FILE), ZEQ_K(kHalvane), ZEQ_K(khalvane), ZEQ_K(kHALVANE_SETTINGS_FILE),
    ZEQ_K(kHalvaneFileId), ZEQ_K(kCorvinProjectCreationOptions), ZEQ_K(kquviewer), ZEQ_K(kQUVIEWER_LAYOUT_FILE),
    ZEQ_K(kQUVIEWER_SETTINGS_FILE), ZEQ_K(kCalcMH), ZEQ_K(kCalcMr), ZEQ_K(kCalcMrList), ZEQ_K(kCalcMz),
    ZEQ_K(kCalibration), ZEQ_K(kCalibrationMassTolerance), ZEQ_K(kCalibrationOptions), ZEQ_K(kCandidateInfoTable),
    ZEQ_K(kCandidateMatchingOptions), ZEQ_K(kCandidates), ZEQ_K(kCandidateSearchMobilityWindow),
    ZEQ_K(kCandidateSearchTimeWindow), ZEQ_K(kCandidatesId), ZEQ_K(kCauchy), ZEQ_K(kCenterOfMass),
    ZEQ_K(kCenterOfMassShift), ZEQ_K(kCenterOfMz), ZEQ_K(kCenterOfMzShift), ZEQ_K(kCentroidOptions),
    ZEQ_K(kChainCount), ZEQ_K(kChainId), ZEQ_K(kChainName), ZEQ_K(kChains), ZEQ_K(kChainSequenceMassType),
    ZEQ_K(kChainSequenceOrMass), ZEQ_K(kChargeMax), ZEQ_K(kChargeMin), ZEQ_K(kChargeVectorsSpacing),
    ZEQ_K(kCheckIsoSpacingCheckBox), ZEQ_K(kChemicalElementAbbreviation), ZEQ_K(kChemicalElementAverageMass),
    ZEQ_K(kChemicalElements), ZEQ_K(kChromatogram), ZEQ_K(kChromatogramPeakLabelsStyle),
    ZEQ_K(kChromatogramXicMetaPlot), ZEQ_K(kChromatogramXICPeakLabels), ZEQ_K(kChromatogramXICPlotTitle),
    ZEQ_K(kChymotryptic), ZEQ_K(kclampRectNoNegativeY), ZEQ_K(kClassification), ZEQ_K(kCleavageMax), ZEQ_K(kClipMode),
    ZEQ_K(kclipOffCTermK), ZEQ_K(kClipped), ZEQ_K(kClips), ZEQ_K(kCoefficientA), ZEQ_K(kCoefficientB),
    ZEQ_K(kCoefficientBMinusA), ZEQ_K(kCollapseChargeStates), ZEQ_K(kcolumn), ZEQ_K(kCompletely), ZEQ_K(kComposition),
    ZEQ_K(kCompositionList), ZEQ_K(kCompositionPositionList), ZEQ_K(kComputedArea), ZEQ_K(kComputeFragmentCoverage),
    ZEQ_K(kCondition), ZEQ_K(kConsiderClipped3Terminus), ZEQ_K(kConsiderClipped5Terminus),
    ZEQ_K(kConsiderClippedSpecies), ZEQ_K(kConstantRegionDepthOfCoverage), ZEQ_K(kCount), ZEQ_K(kcount),
    ZEQ_K(kCoverage), ZEQ_K(kCoverageHeightOffset), ZEQ_K(kCTerm), ZEQ_K(kCustomFields),
    ZEQ_K(kCustomFieldsHeaderOptions), ZEQ_K(kCustomFieldsTableOptions), ZEQ_K(kCustomMolecularFormulaBiopolymerModel),
    ZEQ_K(kDatabaseFilename), ZEQ_K(kDeamidated), ZEQ_K(kDeamidation), ZEQ_K(kDeamidationQuantEnabled),
    ZEQ_K(kDeblurBlurType), ZEQ_K(kDeblurFunctionWidthSkewness), ZEQ_K(kDeblurMethod), ZEQ_K(kDeblurRange),
    ZEQ_K(kDeblurSpreadFunctionWidth), ZEQ_K(kDeconvolutedWildTypeXICArea), ZEQ_K(kDecoyCount),
    ZEQ_K(kDefaultDMSPlotTitle), ZEQ_K(kDefaultMS1PlotTitle), ZEQ_K(kDelta), ZEQ_K(kDeltaMassFromCalculated),
    ZEQ_K(kDeltaMassName), ZEQ_K(kDeltaMassToMostIntense), ZEQ_K(kDeltaMassToMostIntenseAssigned), ZEQ_K(kDeltaMod),
    ZEQ_K(kDeltaMonoisotopicMass), ZEQ_K(kDeltaMonoisotopicMassPPM), ZEQ_K(kDeltaMonoisotopicMassToMostIntense),
    ZEQ_K(kDeltaMonoisotopicMassToMostIntenseAssigned), ZEQ_K(kDeltaObservedMinusDeltaPredicted),
    ZEQ_K(kDeltaScoreSeq), ZEQ_K(kDeltaScoreSeqMod), ZEQ_K(kDenovoOptions), ZEQ_K(kDerivatization),
    ZEQ_K(kDescription), ZEQ_K(kDesired), ZEQ_K(kDigestCTermOffset), ZEQ_K(kDigestEndPeptide), ZEQ_K(kDigestion),
    ZEQ_K(kDigestionMissedCleavageMax), ZEQ_K(kDigestionSpecifity), ZEQ_K(kDigestionType),
    ZEQ_K(kDigestMissedCleavages), ZEQ_K(kDigestNTermOffset), ZEQ_K(kDigestShorthandNotation),
    ZEQ_K(kDigestStartPeptide), ZEQ_K(kDisulfideChains), ZEQ_K(kDisulfideExpectedness), ZEQ_K(kDisulfideLinks),
    ZEQ_K(kDisulfideMode), ZEQ_K(kDisulfides), ZEQ_K(kDisulfideSettings), ZEQ_K(kDMSpectrumPlot),
    ZEQ_K(kDMSPlotAnnotations), ZEQ_K(kDMSPlotLabelScript), ZEQ_K(kDMSPlotTitle), ZEQ_K(kDontShowIfValueBelow),
    ZEQ_K(kDynamicExclusion), ZEQ_K(kEditPlotTitle), ZEQ_K(kElectropherogram), ZEQ_K(kElutionPeakOptions),
    ZEQ_K(kElutionPredictionScoreMinStr), ZEQ_K(kEnableAutoMassArea), ZEQ_K(kEnableCoverageRendering),
    ZEQ_K(kEnableInsilicoDigest), ZEQ_K(kEnableLockMass), ZEQ_K(kEnableSummaryReport), ZEQ_K(kEnableWordWrap),
    ZEQ_K(kEnableXlinkDuplicateColumns), ZEQ_K(kEndMass), ZEQ_K(kEndMobility), ZEQ_K(kEndMz), ZEQ_K(kEndpI),
    ZEQ_K(kEndPoint), ZEQ_K(kEndPosition), ZEQ_K(kEndTimeOriginal), ZEQ_K(kExchangeTime), ZEQ_K(kExecPath),
    ZEQ_K(kExpectation), ZEQ_K(kExpectedMass), ZEQ_K(kExpectedMonoisotopicMass), ZEQ_K(kExpectedType),
    ZEQ_K(kExportAllowed), ZEQ_K(kExportDigest), ZEQ_K(kExtraArgs), ZEQ_K(kExtraParamFilename),
    ZEQ_K(kFalseDiscoveryRate1), ZEQ_K(kFalseDiscoveryRate2), ZEQ_K(kFalseDiscoveryRateUnique1),
    ZEQ_K(kFalseDiscoveryRateUnique2), ZEQ_K(kFalsePositive), ZEQ_K(kFastaEntryCount), ZEQ_K(kFastaEntryName),
    ZEQ_K(kFastaEntryReplace), ZEQ_K(kFastaEntrySelected), ZEQ_K(kFastaEntrySequence), ZEQ_K(kFeatureFinderOptions),
    ZEQ_K(kFileList), ZEQ_K(kFileLocations), ZEQ_K(kFileName), ZEQ_K(kFilenameFullPath), ZEQ_K(kFileNameSecond),
    ZEQ_K(kFilenameServerProxy), ZEQ_K(kFiles), ZEQ_K(kFilesId), ZEQ_K(kFilterFragScoresCheckbox),
    ZEQ_K(kFilterFragScoresThreshold), ZEQ_K(kFilteringEnabled), ZEQ_K(kfirst), ZEQ_K(kfix),
    ZEQ_K(kFixedFinalModNameList), ZEQ_K(kFixedModificationsIdList), ZEQ_K(kFixedModificationStringList),
    ZEQ_K(kFlagPeakRatioCheckbox), ZEQ_K(kFlagPeakRatioPercent), ZEQ_K(kFlags), ZEQ_K(kFLR),
    ZEQ_K(kForceRecomputeLockMass), ZEQ_K(kFormatName), ZEQ_K(kFragmentationType), ZEQ_K(kFragmentType),
    ZEQ_K(kFragmentTypeList), ZEQ_K(kFragTolCheckbox), ZEQ_K(kFragTolUnit), ZEQ_K(kFragTolValue),
    ZEQ_K(kFullWidthHalfMax), ZEQ_K(kGaussian), ZEQ_K(kGaussWidth), ZEQ_K(kGenericSaveFileFilter),
    ZEQ_K(kGlobalTessanParameter), ZEQ_K(kGlycanOptions), ZEQ_K(kGlycanStructure), ZEQ_K(kGlycanTable),
    ZEQ_K(kGlycation), ZEQ_K(kGlycosylation), ZEQ_K(kGroupNumber), ZEQ_K(kGroupUniquePeptide), ZEQ_K(kHash),
    ZEQ_K(kHeavyChain), ZEQ_K(kHitChargeList), ZEQ_K(kHitCount), ZEQ_K(kHitMS1IntensityList),
    ZEQ_K(kHitObservedMzList), ZEQ_K(kHitPPMErrorList), ZEQ_K(kHuman), ZEQ_K(kicIEF), ZEQ_K(kId), ZEQ_K(kIgnored),
    ZEQ_K(kImportCheckbox), ZEQ_K(kInfo), ZEQ_K(kInputProteins), ZEQ_K(kInputRAWDATFiles), ZEQ_K(kInSilico),
    ZEQ_K(kInsilico), ZEQ_K(kInsilicoItems), ZEQ_K(kInSilicoList), ZEQ_K(kInsilicoMassMax), ZEQ_K(kInsilicoMassMin),
    ZEQ_K(kInsilicoOptions), ZEQ_K(kInsilicoTable), ZEQ_K(kInspectionProjectOnly), ZEQ_K(kZaziRor),
    ZEQ_K(kZaziRorMapping), ZEQ_K(kIntact), ZEQ_K(kINTACT_LAYOUT_FILE), ZEQ_K(kINTACT_SETTINGS_FILE),
    ZEQ_K(kIntactLocalRelativeIntensity), ZEQ_K(kIntactLocalRelativeTo), ZEQ_K(kIntactMassGridAccessCache),
    ZEQ_K(kIntactMassGridUniformCache), ZEQ_K(kIntactMassList), ZEQ_K(kIntactMassListSamples),
    ZEQ_K(kIntactMassPlotsCache), ZEQ_K(kIntactMassTolerance), ZEQ_K(kIntactOptions), ZEQ_K(kIntactPlot),
    ZEQ_K(kIntactTimeOptions), ZEQ_K(kIntegratedIntensityMonoCheckBox), ZEQ_K(kIntensity), ZEQ_K(kIntensityOptions),
    ZEQ_K(kIntensitySigFigs), ZEQ_K(kInterest), ZEQ_K(kInterestTimeEnd), ZEQ_K(kInterestTimeStart),
    ZEQ_K(kInternalFragmentsAnnotationCheckBox), ZEQ_K(kInternalFragmentsAnnotationValue), ZEQ_K(kIonizationMode),
    ZEQ_K(kIonizationOptions), ZEQ_K(kisCustom), ZEQ_K(kIsFirstLaunch), ZEQ_K(kIsInSourceDissociation),
    ZEQ_K(kIsIntactDocument), ZEQ_K(kIsolationMass), ZEQ_K(kIsotopeMetaPlot), ZEQ_K(kIsotopeNumber),
    ZEQ_K(kIsotopeOptions), ZEQ_K(kIsotopeQuery), ZEQ_K(kIsotopeScansId), ZEQ_K(kovta), ZEQ_K(kOVTA_LAYOUT_FILE),
    ZEQ_K(kOVTA_SETTINGS_FILE), ZEQ_K(kOVTAComment), ZEQ_K(kOVTAFileExtension), ZEQ_K(kOVTAOpenFileFilter),
    ZEQ_K(kOVTAPresetExt), ZEQ_K(kOVTASaveSelectFilter), ZEQ_K(kOVTASearchFilter), ZEQ_K(kOVTASearchFilterExt),
    ZEQ_K(kIsValidCandidate), ZEQ_K(kIUPAC), ZEQ_K(kkGenericNewProjectPresetLoadFileFilter),
    ZEQ_K(kkGenericNewProjectPresetSaveFileFilter), ZEQ_K(kRavivirIndex), ZEQ_K(kRavivirTime), ZEQ_K(kLabel),
    ZEQ_K(kLabelOrientationDegrees), ZEQ_K(kLabelOrientationEnabled), ZEQ_K(kLabels), ZEQ_K(kLabelsCommentList),
    ZEQ_K(kLabelScriptOptions), ZEQ_K(kLabelsId), ZEQ_K(kLabelsNameList), ZEQ_K(klast), ZEQ_K(kLength),
    ZEQ_K(kLightChain), ZEQ_K(kLimitNumberOfPoints), ZEQ_K(kLocked), ZEQ_K(kLockMass), ZEQ_K(kLogProb),
    ZEQ_K(kLogProbability), ZEQ_K(kMaassSpacing), ZEQ_K(kMachineFilesAliasName), ZEQ_K(kMachineFilesDigestionType),
    ZEQ_K(kMachineFilesFilename), ZEQ_K(kMachineFilesId), ZEQ_K(kMachineFilesIdList), ZEQ_K(kMarkToKeep),
    ZEQ_K(kMascotImportUrlTemplateStr), ZEQ_K(kMascotPeptideUrlTemplateStr), ZEQ_K(kMassAnalyzerType),
    ZEQ_K(kMassArea), ZEQ_K(kMassAreaWidth), ZEQ_K(kMassEnd), ZEQ_K(kMassErrDiff), ZEQ_K(kMassErrPPM),
    ZEQ_K(kMassMonoisotope), ZEQ_K(kMassRecalibration), ZEQ_K(kMassShift), ZEQ_K(kMassSmoothingSigma),
    ZEQ_K(kMassSpacing), ZEQ_K(kMassStart), ZEQ_K(kMassToleranceUnit), ZEQ_K(kMassToleranceValue),
    ZEQ_K(kMatchesAcrossSampleCount), ZEQ_K(kMatchesAcrossSampleDetails), ZEQ_K(kMatchesWithinSampleCount),
    ZEQ_K(kMatchesWithinSampleDetails), ZEQ_K(kMaxAlignShiftTime), ZEQ_K(kMaxIntensity), ZEQ_K(kMaxIteration),
    ZEQ_K(kMaxMz), ZEQ_K(kMaxNumber), ZEQ_K(kMaxNumberOfPoints), ZEQ_K(kMaxNumberPeakSpinBox), ZEQ_K(kMaxPeakCount),
    ZEQ_K(kMaxPointsPerScanForDeisotope), ZEQ_K(kMaxPPMError), ZEQ_K(kMetaInfo), ZEQ_K(kMinIntensityPercent),
    ZEQ_K(kMinMz), ZEQ_K(kMinNumber), ZEQ_K(kMinPeakAreaPercent), ZEQ_K(kMinPeakDistance), ZEQ_K(kMinScore),
    ZEQ_K(kMinValueToShow), ZEQ_K(kMirrorMode), ZEQ_K(kMobilityEnd), ZEQ_K(kMobilityStart), ZEQ_K(kModCategory),
    ZEQ_K(kModCombinationMass), ZEQ_K(kModCombinationMaxNumber), ZEQ_K(kModCombinationMinNumber),
    ZEQ_K(kModCombinationName), ZEQ_K(kModification), ZEQ_K(kModificationName), ZEQ_K(kModificationPercent),
    ZEQ_K(kModifications), ZEQ_K(kModificationsId), ZEQ_K(kModificationsText), ZEQ_K(kModificationsUserFriendlyList),
    ZEQ_K(kModName), ZEQ_K(kMoiety), ZEQ_K(kMonoIsoMass), ZEQ_K(kMonoMassShiftTotal), ZEQ_K(kMouse),
    ZEQ_K(kKRQ_LAYOUT_FILE), ZEQ_K(kKRQ_SETTINGS_FILE), ZEQ_K(kMS1), ZEQ_K(kMS1Correlation), ZEQ_K(kMS1ExtractFilesId),
    ZEQ_K(kMS1IsotopeConfidence), ZEQ_K(kMs1MatchMassType), ZEQ_K(kMS1Plot), ZEQ_K(kMS1PlotTitle),
    ZEQ_K(kMs2AcquisitionTime), ZEQ_K(kMs2ChargeState), ZEQ_K(kMs2CollisionEnergy), ZEQ_K(kMs2File),
    ZEQ_K(kMS2FileName), ZEQ_K(kMs2Id), ZEQ_K(kMs2Mass), ZEQ_K(kMs2NumSpectra), ZEQ_K(kMs2PrecursorMZ),
    ZEQ_K(kMs2Score), ZEQ_K(kMs2Search), ZEQ_K(kMs2Selected), ZEQ_K(kMs2Sequence), ZEQ_K(kMS2Sum), ZEQ_K(kMS2Table),
    ZEQ_K(kMS_), ZEQ_K(kMsDataHasMs2), ZEQ_K(kMsDataNumDims), ZEQ_K(kMsDataSource), ZEQ_K(kMsFile),
    ZEQ_K(kMsFileCount), ZEQ_K(kMSIO), ZEQ_K(kMsMetaData), ZEQ_K(kMsMsQuery), ZEQ_K(kMSQuery), ZEQ_K(kmut),
    ZEQ_K(kMzLabelsAndCentroidedPeaks), ZEQ_K(kMzListUsedForCenterOfMz), ZEQ_K(kMzSigFigs), ZEQ_K(kMzSmoothingSigma),
    ZEQ_K(kMzSpacing), ZEQ_K(kName), ZEQ_K(kNativeId), ZEQ_K(kNGlycansRemovedByPNGaseF), ZEQ_K(kNo),
    ZEQ_K(kNonRefPeaksId), ZEQ_K(kNormalizationPointY), ZEQ_K(kNormalized), ZEQ_K(kNormalizerPeptide),
    ZEQ_K(kNormalizerPeptideAuc), ZEQ_K(kNTerm), ZEQ_K(kNumModPeptides), ZEQ_K(kNumProteinAAs), ZEQ_K(kNumSpectra),
    ZEQ_K(kNumUniquePeptides), ZEQ_K(kObservedFragmentSumIntensity), ZEQ_K(kObservedMH), ZEQ_K(kObservedMr),
    ZEQ_K(kObservedMz), ZEQ_K(kObservedScanNumberList), ZEQ_K(kObservedScanTimeList), ZEQ_K(kObservedScanTimeMax),
    ZEQ_K(kObservedScanTimeMin), ZEQ_K(kObservedTimeVariant), ZEQ_K(kObservedTimeWildtype), ZEQ_K(kOffByX),
    ZEQ_K(kOffset), ZEQ_K(kOLIGO_LAYOUT_FILE), ZEQ_K(kOLIGO_SETTINGS_FILE), ZEQ_K(kOptions), ZEQ_K(kOrder),
    ZEQ_K(korg), ZEQ_K(kOther), ZEQ_K(kOxidation), ZEQ_K(kParamType), ZEQ_K(kParentCalcMr), ZEQ_K(kParentNativeId),
    ZEQ_K(kParentScanNumber), ZEQ_K(kParentType), ZEQ_K(kpdb), ZEQ_K(kpeak_method), ZEQ_K(kPeakAreaNormed),
    ZEQ_K(kPeakInfoTable), ZEQ_K(kPeakPickingMode), ZEQ_K(kPeakRatioFlag), ZEQ_K(kPeaksCandidates_PeaksIdList),
    ZEQ_K(kPeaksCandidatesId), ZEQ_K(kPeaksComment), ZEQ_K(kPeaksDynamicNumber), ZEQ_K(kPeaksOptions),
    ZEQ_K(kPeakToPeakAreaRatio), ZEQ_K(kPeakToPeakNormedAreaRatio), ZEQ_K(kPEP), ZEQ_K(kPEP0), ZEQ_K(kPEP1),
    ZEQ_K(kPEP2), ZEQ_K(kVavoriNewProjectOptionsExt), ZEQ_K(kVavoriNewProjectPresetLoadFileFilter),
    ZEQ_K(kVavoriNewProjectPresetSaveFileFilter), ZEQ_K(kVavoriOpenFileFilter), ZEQ_K(kVavoriSaveFileFilter),
    ZEQ_K(kPeptideColor), ZEQ_K(kPeptideNumbering), ZEQ_K(kPeptideParseFriendly), ZEQ_K(kPeptideReferenceCount),
    ZEQ_K(kPeptides), ZEQ_K(kPeptidesAttributes), ZEQ_K(kPeptidesIdChild), ZEQ_K(kPeptidesIdParent),
    ZEQ_K(kPeptidesIdParentList), ZEQ_K(kPeptideWidth), ZEQ_K(kPercentDeuteration), ZEQ_K(kPercentNormalizedAbundance),
    ZEQ_K(kPercentOfMapPeakMin), ZEQ_K(kPercentRSD), ZEQ_K(kPhosphorylation), ZEQ_K(kPlotChannel),
    ZEQ_K(kPlotChannelInternalName), ZEQ_K(kPlotIndex), ZEQ_K(kPlots), ZEQ_K(kPlotSegmentCreationMode),
    ZEQ_K(kPlotSegmentWidth), ZEQ_K(kPlotsIdCurrentIndex), ZEQ_K(kPlotsIdNameList), ZEQ_K(kPlotsWarpAnchors),
    ZEQ_K(kPlotType), ZEQ_K(kPlotUnit), ZEQ_K(kPosition), ZEQ_K(kPosteriorErrorProbability1),
    ZEQ_K(kPosteriorErrorProbability1_sum), ZEQ_K(kPosteriorErrorProbability2), ZEQ_K(kPosteriorErrorProbability2_sum),
    ZEQ_K(kppm), ZEQ_K(kPpmTolerance), ZEQ_K(kPQMsId), ZEQ_K(kPrecursorMz), ZEQ_K(kPrecursorMzEnd),
    ZEQ_K(kPrecursorMzStart), ZEQ_K(kPredictedTimeVariant), ZEQ_K(kPredictedTimeWildtype), ZEQ_K(kPrimaryCandidates),
    ZEQ_K(kPrimaryCandidatesId), ZEQ_K(kPrimaryCandidatesXics), ZEQ_K(kPrimaryPeptides), ZEQ_K(kPrimaryPeptidesId),
    ZEQ_K(kProjectComment), ZEQ_K(kProjectCreationAskAboutNonLocalFiles), ZEQ_K(kProjectOptions),
    ZEQ_K(kProjectStatus), ZEQ_K(kProjectValidate), ZEQ_K(kProjectViewTable), ZEQ_K(kProtein),
    ZEQ_K(kProteinAliasName), ZEQ_K(kProteinAnnotation), ZEQ_K(kProteinAnnotations), ZEQ_K(kProteinComplexAlias),
    ZEQ_K(kProteinComplexAverageMass), ZEQ_K(kProteinComplexComposition), ZEQ_K(kProteinComplexDisulfides),
    ZEQ_K(kProteinComplexMonoisotopicMass), ZEQ_K(kProteinComplexName), ZEQ_K(kProteinCount),
    ZEQ_K(kProteinCoveragePercent), ZEQ_K(kProteinCoverageSummary), ZEQ_K(kProteinCoverageTextSize),
    ZEQ_K(kProteinDataBank), ZEQ_K(kProteinDigestionMap), ZEQ_K(kProteinEndPosition), ZEQ_K(kProteinFilenameOrUrl),
    ZEQ_K(kProteinFontSize), ZEQ_K(kProteinFragmentationMap), ZEQ_K(kProteinId), ZEQ_K(kProteinIdCountList),
    ZEQ_K(kProteinIsoelectricPoint), ZEQ_K(kProteinMolecularWeight), ZEQ_K(kProteinName), ZEQ_K(kProteinNumber),
    ZEQ_K(kProteinOccurrences), ZEQ_K(kProteinPosition), ZEQ_K(kProteinRank), ZEQ_K(kProteins), ZEQ_K(kProteinsId),
    ZEQ_K(kProteinStartPosition), ZEQ_K(kProteinStructure), ZEQ_K(kProxyGroupNumber), ZEQ_K(kpyroGluNTermQ),
    ZEQ_K(kQueriesId), ZEQ_K(kQueriesToScanNumbers), ZEQ_K(kQueryNumber), ZEQ_K(kRankNumber), ZEQ_K(kRat),
    ZEQ_K(krecent_file), ZEQ_K(krecent_file_history_), ZEQ_K(krecent_file_history_size), ZEQ_K(kRecentFilesHistory),
    ZEQ_K(kRecomputeLcmsFeatures), ZEQ_K(kRecomputeMsFeatures), ZEQ_K(kReferencePlotsId),
    ZEQ_K(kRelativeIntensityAcceptRatio), ZEQ_K(kRelativeIntensityMassTolerance), ZEQ_K(kReplicate),
    ZEQ_K(kReportModuleConfigurationData), ZEQ_K(kReportModuleConfigurationPath), ZEQ_K(kReportModuleOptions),
    ZEQ_K(kRequireNxSt), ZEQ_K(kResidueAfter), ZEQ_K(kResidueAverageMass), ZEQ_K(kResidueBefore),
    ZEQ_K(kResidueChainOffset), ZEQ_K(kResidueChemicalFormula), ZEQ_K(kResidueCode), ZEQ_K(kResidueMonoMass),
    ZEQ_K(kResidueName), ZEQ_K(kResidues), ZEQ_K(kResiduesAfterProteinClipSite), ZEQ_K(kResiduesBeforeProteinClipSite),
    ZEQ_K(kResiduesMode), ZEQ_K(kResidueType), ZEQ_K(kResultPath), ZEQ_K(kResultsFilename), ZEQ_K(kRowId),
    ZEQ_K(kRowNodeLevel), ZEQ_K(kRowNodeNumberOfChildren), ZEQ_K(kRowTypeName), ZEQ_K(kRunMode), ZEQ_K(kRunOrder),
    ZEQ_K(kSampleFactor), ZEQ_K(kSampleMetadataOptions), ZEQ_K(kSamples), ZEQ_K(kSamplesId), ZEQ_K(kSamplesRunsId),
    ZEQ_K(kSampleType), ZEQ_K(kScanGapMax), ZEQ_K(kScanLevel), ZEQ_K(kScanMethod), ZEQ_K(kScanNumber),
    ZEQ_K(kScanNumberList), ZEQ_K(kScans), ZEQ_K(kScanTime), ZEQ_K(kScanTimeList), ZEQ_K(kScanTriggerIntensity),
    ZEQ_K(kScanTriggerTime), ZEQ_K(kScore), ZEQ_K(kScoreDelta), ZEQ_K(kScoreList), ZEQ_K(kScoreRatio),
    ZEQ_K(kSearchCheckbox), ZEQ_K(kSearchEngine), ZEQ_K(kSearchResultAliasName), ZEQ_K(kSearchResultFilename),
    ZEQ_K(kSearchResults), ZEQ_K(kSearchResultsId), ZEQ_K(kSearchType), ZEQ_K(kSecondaryParamFilename),
    ZEQ_K(kSegmentNameFontSize), ZEQ_K(kSelected), ZEQ_K(kSelectedSamples), ZEQ_K(ksequence), ZEQ_K(kSequenceDot),
    ZEQ_K(kSequenceOriginalDebug), ZEQ_K(kSequenceSource), ZEQ_K(kSequenceSubstituteAmbiguous),
    ZEQ_K(kServerImportUrlTemplate), ZEQ_K(kServerPeptideUrlTemplate), ZEQ_K(kShortName), ZEQ_K(kShowAllImport),
    ZEQ_K(kShowAllMS2), ZEQ_K(kShowAllUserDefined), ZEQ_K(kshowCorvinProjectCreationOption),
    ZEQ_K(kShowCandidateMatchDetails), ZEQ_K(kShowCentroidedPeaks), ZEQ_K(kShowCentroidedPeaksAsDots),
    ZEQ_K(kShowChargeLabels), ZEQ_K(kShowDeltaIntensityLabels), ZEQ_K(kShowDeltaMassesLabels),
    ZEQ_K(kShowDigestionSummary), ZEQ_K(kShowErrorVerbatimToUser), ZEQ_K(kShowFragmentationSummary),
    ZEQ_K(kShowIntensities), ZEQ_K(kShowInterestTimeOnly), ZEQ_K(kShowMzBaseline), ZEQ_K(kShowMzLabels),
    ZEQ_K(kShowPeaksCheckbox), ZEQ_K(kShowPeptideCoverage), ZEQ_K(kShowPeptideLabels), ZEQ_K(kShowPlotAnnotations),
    ZEQ_K(kShowPlotsOnlyForSelectedPeaks), ZEQ_K(kShowPlotTitle), ZEQ_K(kShowProteinAnnotation),
    ZEQ_K(kShowProteinFragments), ZEQ_K(kShowProteinHighlights), ZEQ_K(kShowTraceCheckbox),
    ZEQ_K(kShowWildtypeInProteinCoverage), ZEQ_K(kShowXICProposals), ZEQ_K(kSingleEnd), ZEQ_K(kSkipIfDuplicate),
    ZEQ_K(ksmooth_sigma), ZEQ_K(ksmooth_sigma_baseline), ZEQ_K(kSourcePeaksId), ZEQ_K(kSourceType),
    ZEQ_K(kSpectraCluster), ZEQ_K(kSpectraFilename), ZEQ_K(kSpectraId), ZEQ_K(ksrc_Plot_tar_Baseline),
    ZEQ_K(ksrc_Ref_tar_Nonref), ZEQ_K(kStartMass), ZEQ_K(kStartMobility), ZEQ_K(kStartMz), ZEQ_K(kStartpI),
    ZEQ_K(kStartPoint), ZEQ_K(kStartPosition), ZEQ_K(kStartTimeOriginal), ZEQ_K(kStatus), ZEQ_K(kSummaryTableScaling),
    ZEQ_K(kaltivo), ZEQ_K(kTargetPeaksId), ZEQ_K(kTempFolder), ZEQ_K(kTermini), ZEQ_K(kText), ZEQ_K(kThermolysin),
    ZEQ_K(kTIC), ZEQ_K(kTICOptions), ZEQ_K(kTIM), ZEQ_K(kTimeApex), ZEQ_K(kTimeEnd), ZEQ_K(kTimeOfCreation),
    ZEQ_K(kTimeProfileCorrelationFudge), ZEQ_K(kTimeProfileEnabled), ZEQ_K(kTimeProfileMzBinSize),
    ZEQ_K(kTimeProfileShowAsCurve), ZEQ_K(kTimeProfileUseCache), ZEQ_K(kTimeStart), ZEQ_K(kTimeUnit), ZEQ_K(kTitle),
    ZEQ_K(ktitle), ZEQ_K(kTotalCommonMax), ZEQ_K(kTotalRareMax), ZEQ_K(kTotalTraceAreaWithinInterest),
    ZEQ_K(kTraceFiles), ZEQ_K(kTraceImportAndProcessingOptions), ZEQ_K(kTracePeakApexIntensity), ZEQ_K(kTracePeakFWHM),
    ZEQ_K(kTracePlot), ZEQ_K(kTracePlotLabelScript), ZEQ_K(kTraceType), ZEQ_K(kTranslateX), ZEQ_K(kTruePositive),
    ZEQ_K(kTryptic), ZEQ_K(kType), ZEQ_K(kTypeName), ZEQ_K(kUIConfigsData), ZEQ_K(kUIConfigsOptions),
    ZEQ_K(kUIConfigsType), ZEQ_K(kUndesired), ZEQ_K(kUnexpected), ZEQ_K(kUnknownFile), ZEQ_K(kURLPathToDAT),
    ZEQ_K(kUseInsilicoTable), ZEQ_K(kUserComment), ZEQ_K(kUserPreferredCandidate), ZEQ_K(kUseSameXRange), ZEQ_K(kUV),
    ZEQ_K(kUVOptions), ZEQ_K(kvalue), ZEQ_K(kvar), ZEQ_K(kVariableFinalModNameList), ZEQ_K(kVariantCheckBox),
    ZEQ_K(kVariantDetail), ZEQ_K(kVariantLabelName), ZEQ_K(kVariantParents), ZEQ_K(kVariantPosition),
    ZEQ_K(kVariantSites), ZEQ_K(kVendorScanMeta), ZEQ_K(kVersion), ZEQ_K(kVisible), ZEQ_K(kVoigt), ZEQ_K(kWarpOption),
    ZEQ_K(kWildtypeCount), ZEQ_K(kWildtypeLossCoeff), ZEQ_K(kwindow0), ZEQ_K(kXICAreaEnd),
    ZEQ_K(kXicAreaIsoXNormalized), ZEQ_K(kXICAreaStart), ZEQ_K(kXICAreaUnderCurve),
    ZEQ_K(kXICAreaUnderCurveAllIsotopeProxy), ZEQ_K(kXICAreaUnderCurveSummed), ZEQ_K(kXICCharge),
    ZEQ_K(kXICCorrelation), ZEQ_K(kXicMetaPlot), ZEQ_K(kXICRatio), ZEQ_K(kXICRatioPercent), ZEQ_K(kXICs),
    ZEQ_K(kXICsId), ZEQ_K(kXLinkBasePeptideProteinName), ZEQ_K(kXLinkBasePeptideSequence),
    ZEQ_K(kXLinkBasePeptideSequenceUnformatted), ZEQ_K(kXlinkBasePeptideXlinkPositionInProtein),
    ZEQ_K(kXlinkedPeptideScore), ZEQ_K(kXlinkIsDuplicate), ZEQ_K(kXlinkPartnerDigestEndPeptide),
    ZEQ_K(kXlinkPartnerDigestStartPeptide), ZEQ_K(kXlinkPartnerPeptidePositionInProtein),
    ZEQ_K(kXlinkPartnerPeptideProteinAliasName), ZEQ_K(kXlinkPartnerPeptideProteinName),
    ZEQ_K(kXlinkPartnerPeptideScore), ZEQ_K(kXlinkPartnerPeptideSequence),
    ZEQ_K(kXlinkPartnerPeptideSequenceUnformatted), ZEQ_K(kXlinkPartnerPeptideXlinkPositionInProtein),
    ZEQ_K(kXlinkRowHash), ZEQ_K(kXYMetaPlot), ZEQ_K(kYes), ZEQ_K(kZoomModeAutoScale), ZEQ_K(kZoomModeFreeform),
    ZEQ_K(kZoomModeLockedView), ZEQ_K(kZoomModeLockedXAxis), ZEQ_K(kZoomStrategySourceRange), ZEQ_K(kZScore),
};
#undef ZEQ_K
// clang-format on

// Constants whose value differs from their identifier.
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

TEST(StringConstantsTest, EveryConstantIsADistinctObject)
{
    // Guards against one definition accidentally initialised from another.
    QSet<const QString *> seen;
    for (const Plain &c : plainConstants) {
        seen.insert(c.constant);
    }
    for (const Exception &c : exceptions) {
        seen.insert(c.constant);
    }
    EXPECT_EQ(seen.size(), 858 + 48);
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
