#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace zeq::test
{

/// What a copy of the test program does when a test starts it as a second process (to hold a lock
/// across processes, to write to its own standard output...). Returns the exit code.
using ChildRole = int (*)(const QList<QString> &arguments);

/// Makes `role` available under `name`; call from a namespace-scope initialiser of the test file:
/// `const bool registered = zeq::test::registerChildRole(u"hold"_qs, &hold);`
bool registerChildRole(const QString &name, ChildRole role);

/// The arguments that make the test program run `name` with `arguments` instead of its tests.
[[nodiscard]] QList<QString> childRoleArguments(const QString &name, const QList<QString> &arguments = {});

/// Called by the test main: runs the role that the command line asks for, if any.
[[nodiscard]] std::optional<int> runChildRoleIfAsked(const QList<QString> &commandLine);

} // namespace zeq::test
