#pragma once
// What the console benchmarks share: a database filled with stored matches
// and the printed latency figures.

#include <QString>

#include <vector>

namespace fb {
class Connection;
}

// Stores `count` copies of a played match, as if the desk had recorded them.
void StoreOtherMatches(fb::Connection &db, int match, int count);

// Prints the count, median, 99th percentile and maximum of `latencies` (ms)
// with the database file's size.
void ReportLatencies(const char *label, std::vector<double> latencies, const QString &database);
