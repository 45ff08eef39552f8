#pragma once

#include <QStringList>

#include <vector>

// The statements that take the history database from one schema version to the next: the i-th
// from version i to i + 1. Each runs in one transaction with the version set after it.
const std::vector<QStringList> &MigrationSteps();
