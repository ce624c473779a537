// Test helpers of the world state: a scratch working directory and the object types the map tests use.
#include "tests/state/WorldTest.h"

#include "state/Objects.h"

#include <gtest/gtest.h>
#include <random>

TScratchDir::TScratchDir() : Previous(std::filesystem::current_path()) {
    const testing::TestInfo* Test = testing::UnitTest::GetInstance()->current_test_info();
    std::string Name = "pellarune-" + std::to_string(std::random_device()());
    if (Test != nullptr) Name += std::string("-") + Test->test_suite_name() + "-" + Test->name();
    Dir = std::filesystem::temp_directory_path() / Name;
    std::filesystem::remove_all(Dir);
    std::filesystem::create_directories(Dir);
    std::filesystem::current_path(Dir);
}

TScratchDir::~TScratchDir() {
    std::error_code Error;
    std::filesystem::current_path(Previous, Error);
    std::filesystem::remove_all(Dir, Error);
}

TDatFile MinimalDatFile() {
    TDatFile File;
    File.Signature = 0x12345678;
    File.addItem().sprite(1, 1, 1, 1, 1, 1, 1, 1);
    File.addOutfit().sprite(1, 1, 1, 1, 1, 1, 1, 2);
    File.addEffect().sprite(1, 1, 1, 1, 1, 1, 1, 3);
    File.addMissile().sprite(1, 1, 1, 1, 1, 1, 1, 4);
    return File;
}

void LoadDatFile(const TDatFile& File) {
    WriteBytesToFile("Ebrun.dat", EncodeDatFile(File));
    LoadObjectTypes("Ebrun.dat");
}

void LoadWorldTypes() {
    TDatFile File;
    File.addItem().bank(150).automap(24);                     // GROUND
    File.addItem().flag(1).flag(12).flag(18);                 // WALL
    File.addItem().flag(2);                                   // BORDER
    File.addItem().flag(3);                                   // ARCH
    File.addItem();                                           // ITEM
    File.addItem().flag(13);                                  // FIXED
    File.addItem().flag(DAT_LIQUIDPOOL);                      // POOL
    File.addItem().flag(2).flag(6);                           // SWITCH
    File.addItem().elevation(8);                              // CRATE
    File.addItem().flag(DAT_HANG).shape(1, 1, 1, 3, 1, 1, 1); // PICTURE
    File.addItem().flag(1).flag(19);                          // EASTWALL
    File.addItem().flag(14);                                  // ROOF
    File.addItem().flag(23);                                  // LIT
    File.addItem().flag(12);                                  // BOULDER
    File.addItem().flag(15).automap(300);                     // FIRE
    File.addItem().bank(300);                                 // SWAMP
    File.addItem().bank(100);                                 // GROUND2
    File.addOutfit();
    File.addEffect().shape(1, 1, 1, 1, 1, 1, 3);
    File.addMissile().shape(1, 1, 1, 3, 3, 1, 1);
    LoadDatFile(File);
}
