#pragma once

// Tallies of the reliability cases; an executable that counted any prints them when its
// tests end.
namespace reliability {

void BadInputTried(int count = 1);
void FaultSurvived(int count = 1);
void DataLost(int count = 1);
// How many of a test's random cases to run: base, times BRUMWELD_STRESS where it is set
// (10 for ten times as many, 0.25 for a quarter), and at least one.
int CaseCount(int base);

}  // namespace reliability
