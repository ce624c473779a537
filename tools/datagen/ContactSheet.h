// A contact sheet of the generated data for a person to look at: a mock game screen built from the skins,
// every skin, the fonts, a sample of sprites and the pictures.
#pragma once

#include "tools/datagen/DataSet.h"

TCanvas BuildContactSheet(const TDataSet& Set);
