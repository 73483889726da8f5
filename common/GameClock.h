#pragma once

// The game clock counts down within a period: four quarters of ten minutes,
// then as many five-minute overtimes as needed (period 5 is the first one).
constexpr int QuarterMinutes = 10;
constexpr int OvertimeMinutes = 5;
constexpr int RegularPeriods = 4;

// Minutes on the clock when the period starts (a quarter before the game).
int PeriodStartMinute(int period);

// Whole game minutes elapsed when the clock shows clockMinute in period;
// 0 before the first period.
int GameMinute(int period, int clockMinute);

// Game time elapsed, in seconds, when the clock shows clockMinute:seconds in
// period; 0 before the first period.
int ElapsedSeconds(int period, int clockMinute, int seconds);
