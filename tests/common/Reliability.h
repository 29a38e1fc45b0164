#pragma once

// Tallies of the reliability cases; an executable that counted any prints them when its
// tests end.
namespace reliability {

void BadInputTried(int count = 1);
void FaultSurvived(int count = 1);
void DataLost(int count = 1);
// 1 by default; BRUMWELD_STRESS=n runs n times as many random cases.
int StressFactor();

}  // namespace reliability
