"""Isotope clusters, protein digestion, FASTA files and modification texts of mass spectrometry.

Units: m/z in Th, masses in Da, tolerances in ppm or Da (MassTolerance). Spectra are numpy arrays
of m/z and intensity. Failures raise zeq.Error or one of its subclasses.
"""

import enum as _enum

from . import _zeq
from ._errors import BadParameterError, Error, FileOpenError, OutOfRangeError
from ._zeq import (
    DigestionItem,
    FastaReader,
    MassTolerance,
    digest_fasta,
    digest_protein,
    enzymes,
    find_charges_and_monos,
    find_spectrum_clusters,
    parse_inter_peptide_xlink_name,
    parse_intra_peptide_xlink_name,
    parse_mass_name,
    parse_modification_list,
    parse_modification_name_with_mass,
    search_windows,
    set_logging,
)

__version__ = _zeq.__version__

# Built from the compiled module's table, so that the values are the library's own.
ErrorCode = _enum.IntEnum("ErrorCode", _zeq._enums["ErrorCode"], module=__name__)
UncertaintyScaling = _enum.IntEnum("UncertaintyScaling", _zeq._enums["UncertaintyScaling"], module=__name__)
MassUnit = _enum.IntEnum("MassUnit", _zeq._enums["MassUnit"], module=__name__)


def read_fasta(path, limit=0):
    """Iterate over the proteins of a FASTA file as (accession, sequence), one at a time."""
    return FastaReader(path, limit)


__all__ = [
    "BadParameterError",
    "DigestionItem",
    "Error",
    "ErrorCode",
    "FastaReader",
    "FileOpenError",
    "MassTolerance",
    "MassUnit",
    "OutOfRangeError",
    "UncertaintyScaling",
    "digest_fasta",
    "digest_protein",
    "enzymes",
    "find_charges_and_monos",
    "find_spectrum_clusters",
    "parse_inter_peptide_xlink_name",
    "parse_intra_peptide_xlink_name",
    "parse_mass_name",
    "parse_modification_list",
    "parse_modification_name_with_mass",
    "read_fasta",
    "search_windows",
    "set_logging",
]
