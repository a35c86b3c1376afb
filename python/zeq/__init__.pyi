import enum
from typing import Iterator, Optional, Sequence, TypedDict, Union

import numpy as np
import numpy.typing as npt

__version__: str

class Error(Exception):
    code: int
    message: str
    catch_trail: list[str]
    warnings: list[str]

class BadParameterError(Error, ValueError): ...
class FileOpenError(Error, OSError): ...
class OutOfRangeError(Error, IndexError): ...

class ErrorCode(enum.IntEnum):
    NO_ERROR = 0
    ERROR = 1
    BAD_PARAMETER = 2
    FILE_OPEN = 4
    OUT_OF_RANGE = 16

class UncertaintyScaling(enum.IntEnum):
    CONSTANT = 0
    SQRT = 1
    PROPORTIONAL = 2

class MassUnit(enum.IntEnum):
    PPM = 0
    DALTON = 1

class MassTolerance:
    """A tolerance in ppm of the reference or in Da."""
    def __init__(self, tolerance: float, unit: Union[MassUnit, str] = "ppm") -> None: ...
    @property
    def tolerance(self) -> float: ...
    @property
    def unit(self) -> MassUnit: ...
    def bounds(self, mass: float) -> tuple[float, float]:
        """Closed window (Da or Th) of values matching mass."""
    def within(self, value: float, reference: float) -> bool: ...

ArrayLike = npt.ArrayLike

def find_charges_and_monos(
    mz: ArrayLike,
    intensity: ArrayLike,
    start: float,
    end: float,
    *,
    min_charge: int = 1,
    max_charge: int = 35,
    sigma: Optional[float] = None,
    scaling: UncertaintyScaling = UncertaintyScaling.SQRT,
    min_fraction: float = 0.01,
    tolerance: MassTolerance = ...,
    mode: str = "design",
) -> np.ndarray:
    """Clusters of the window [start, end] (Th): fields charge, mono_mz (Th), neutral_mass (Da),
    score, percent (0-100), scale, isotopes."""

def find_spectrum_clusters(
    mz: ArrayLike,
    intensity: ArrayLike,
    *,
    window: Optional[tuple[float, float]] = None,
    min_charge: int = 1,
    max_charge: int = 35,
    sigma: Optional[float] = None,
    scaling: UncertaintyScaling = UncertaintyScaling.SQRT,
    min_fraction: float = 0.01,
    tolerance: MassTolerance = ...,
    min_isotopes: int = 2,
    signal_to_noise: float = 0.0,
    mode: str = "improved",
) -> np.ndarray:
    """Clusters of a whole spectrum: fields window_start, window_end (Th) and those of
    find_charges_and_monos."""

def search_windows(mz: ArrayLike, intensity: ArrayLike) -> np.ndarray:
    """Fields start, end, report_start, report_end (Th)."""

class DigestionItem:
    def __init__(self, text: str) -> None: ...
    @property
    def enzyme(self) -> str: ...

def enzymes() -> list[str]: ...

class PeptideColumns(TypedDict, total=False):
    accession: list[str]
    sequence: list[str]
    start: np.ndarray
    end: np.ndarray
    missed_cleavages: np.ndarray
    mass: np.ndarray
    before: list[str]
    after: list[str]

def digest_protein(
    sequence: str,
    *,
    enzyme: Union[str, DigestionItem] = "Trypsin",
    max_missed_cleavages: int = 2,
    min_length: int = 7,
    max_length: int = 50,
    min_mass: float = 0.0,
    max_mass: float = ...,
) -> PeptideColumns:
    """Peptides of one protein; masses in Da, lengths in residues."""

def digest_fasta(
    path: str,
    *,
    enzyme: Union[str, DigestionItem] = "Trypsin",
    max_missed_cleavages: int = 2,
    min_length: int = 7,
    max_length: int = 50,
    min_mass: float = 0.0,
    max_mass: float = ...,
) -> PeptideColumns:
    """Peptides of every protein of a FASTA file, with an accession column."""

class FastaReader(Iterator[tuple[str, str]]):
    def __init__(self, path: str, limit: int = 0) -> None: ...
    def __iter__(self) -> FastaReader: ...
    def __next__(self) -> tuple[str, str]: ...
    @property
    def name(self) -> str: ...
    @property
    def encoding(self) -> str: ...

def read_fasta(path: str, limit: int = 0) -> FastaReader: ...
def parse_mass_name(text: str) -> str: ...
def parse_modification_name_with_mass(text: str) -> tuple[str, float]: ...
def parse_modification_list(text: str) -> list[tuple[str, str]]: ...

class XlinkInfo(TypedDict):
    partner_sequence: str
    link_positions: list[int]
    partner_protein: int
    partner_position: int
    name_suffix: str
    link_delta_mass: float
    link_name: str
    expected: Optional[bool]

def parse_inter_peptide_xlink_name(name: str) -> Optional[XlinkInfo]: ...
def parse_intra_peptide_xlink_name(name: str) -> Optional[tuple[str, str, bool]]: ...
def set_logging(enabled: bool) -> None: ...
