// Test helpers of the world state: the test's own working directory and the object types of the map tests.
#include "tests/state/WorldTest.h"

#include "state/Objects.h"

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
    File.addItem().flag(12);                                  // BOULDER
    File.addItem().flag(15).automap(300);                     // FIRE
    File.addItem().bank(300);                                 // SWAMP
    File.addItem().bank(100);                                 // GROUND2
    File.addOutfit();
    File.addEffect().shape(1, 1, 1, 1, 1, 1, 3);
    File.addMissile();
    LoadDatFile(File);
}
