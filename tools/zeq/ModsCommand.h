#pragma once

#include <QStringList>

/// zeq mods list|find|add [options]: the modification catalogue kept in a SQLite file.
/// `args` follow the command name; returns the exit status.
int runMods(const QStringList &args);
