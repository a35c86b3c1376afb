"""The exceptions of zeq: one class per error kind of the library, all below zeq.Error."""


class Error(Exception):
    """A failure reported by the library.

    code is the library's ErrorCode, catch_trail the places the failure passed through on its
    way out ("file:line: function", origin first), warnings what the library noted beside it.
    """

    code = 1

    def __init__(self, message="", catch_trail=(), warnings=()):
        super().__init__(message)
        self.message = message
        self.catch_trail = list(catch_trail)
        self.warnings = list(warnings)


class BadParameterError(Error, ValueError):
    """An argument the library refuses: its message names the value and what was wrong."""

    code = 2


class FileOpenError(Error, OSError):
    """A file that could not be opened, read or written."""

    code = 4


class OutOfRangeError(Error, IndexError):
    """A position or count outside what the data holds."""

    code = 16


_BY_CODE = {cls.code: cls for cls in (Error, BadParameterError, FileOpenError, OutOfRangeError)}


def _make(code, message, catch_trail, warnings):
    # Codes the library adds later still raise, as the base class.
    cls = _BY_CODE.get(code, Error)
    exc = cls(message, [line for line in catch_trail.split("\n") if line], warnings)
    exc.code = code
    return exc
