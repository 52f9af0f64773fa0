// Units of the sample model set (testdata/) for synthetic recordings: the
// item file each is read with, its blocks as item groups, and the sample
// bytes of the simulated installation as the data of every record, so that
// a recording of them replays with items and values.
#pragma once

#include <cstdint>
#include <vector>

#include "das_gen.h"

namespace dasgen {

enum class SampleModel { Outdoor, ZoneIndoor, Indoor, Central };

// A bus unit of the model: its unit class, the unit number within its class,
// its bus address and zubrel address.
Unit sampleUnit(SampleModel model, uint8_t number, uint8_t address, uint8_t zubrel);

// The sample bytes of the units' groups, with a slow swing on a few values
// (temperatures, frequency) from record to record; fits Recording::dataByte
// for a recording of exactly these units.
std::function<uint8_t(uint32_t, int, int, int)> sampleData(const std::vector<Unit>& units);

// The small recording of the sample models whose CSV files the tests
// expect (testdata/csv/): customer C001 on map "Map A", outdoor unit 1
// (address 1) and indoor unit 1 (address 17) of system 1 on the bus,
// 4 records every 5 s from 2024-03-05 07:08:09 UTC.
Recording sampleCsvRecording();

}  // namespace dasgen
