// The test server's update catalogue: downloads chosen by the signatures of a login, end to end through the
// tiny client.
#include "tests/tools/testserver/TestClient.h"
#include "tools/testserver/Differ.h"
#include "tools/testserver/Downloads.h"
#include "tools/testserver/TestServer.h"

#include <gtest/gtest.h>

using namespace testserver;
using testclient::TBytes;
using namespace std::chrono_literals;

namespace {

testclient::TLoginFields LoginFields(uint32_t Dat, uint32_t Spr, uint32_t Pic) {
    testclient::TLoginFields Login;
    Login.Key = testclient::RandomKey();
    Login.Account = 1;
    Login.Password = "pw";
    Login.Signatures[0] = Dat;
    Login.Signatures[1] = Spr;
    Login.Signatures[2] = Pic;
    return Login;
}

// Logs in with the three signatures and gives the deciphered frames of the answer.
std::vector<TBytes> LoginAnswer(uint16_t Port, uint32_t Dat, uint32_t Spr, uint32_t Pic) {
    const testclient::TLoginFields Login = LoginFields(Dat, Spr, Pic);
    testclient::TConnection Client(Port);
    EXPECT_TRUE(Client.send(testclient::LoginServerFrame(Login)));
    std::optional<TBytes> Raw = Client.readToEnd();
    EXPECT_TRUE(Raw) << "the server did not close";
    auto Frames = testclient::OpenFrames(Login.Key, Raw.value_or(TBytes{}));
    EXPECT_TRUE(Frames) << "broken frame";
    return Frames.value_or(std::vector<TBytes>{});
}

TBytes Filled(size_t Size, uint8_t Seed) {
    TBytes Data(Size);
    for (size_t k = 0; k < Size; k++)
        Data[k] = static_cast<uint8_t>(Seed + k * 7 + (k >> 8));
    return Data;
}

} // namespace

TEST(DownloadServer, CatalogueAnswersBySignature) {
    const TBytes OldSprites = Filled(5000, 1), NewSprites = Filled(5200, 2), NewObjects = Filled(300, 9);
    TUpdateCatalogue Catalogue;
    Catalogue.setNewVersion(SPRITE_FILE, NewSprites);
    Catalogue.addOldVersion(SPRITE_FILE, OldSprites);
    Catalogue.setNewVersion(OBJECT_FILE, NewObjects);
    EXPECT_THROW(Catalogue.setNewVersion(PATCHER_FILE, NewObjects), TWireError);

    TLoginRecord Login;
    Login.DatSignature = DataFileSignature(NewObjects);
    Login.SprSignature = DataFileSignature(OldSprites);
    std::vector<TDownload> Downloads = Catalogue.downloadsFor(Login, 1000);
    ASSERT_EQ(Downloads.size(), 1u);
    EXPECT_EQ(Downloads[0].FileNumber, SPRITE_FILE);
    EXPECT_FALSE(Downloads[0].WholeFile);
    EXPECT_EQ(Downloads[0].Payload, MakePatch(OldSprites, NewSprites));
    EXPECT_EQ(Downloads[0].BlockSize, 1000u);

    // an unknown old version gets the whole file; both files come in file-number order
    Login.DatSignature = 0x12345678;
    Login.SprSignature = 0x12345678;
    Downloads = Catalogue.downloadsFor(Login);
    ASSERT_EQ(Downloads.size(), 2u);
    EXPECT_EQ(Downloads[0].FileNumber, OBJECT_FILE);
    EXPECT_TRUE(Downloads[0].WholeFile);
    EXPECT_EQ(Downloads[1].Payload, NewSprites);

    Login.DatSignature = DataFileSignature(NewObjects);
    Login.SprSignature = DataFileSignature(NewSprites);
    EXPECT_TRUE(Catalogue.downloadsFor(Login).empty());
}

TEST(DownloadServer, UpdatePlanSendsTheDownloadOnceThenTheUsualAnswer) {
    TTestServer Server;
    const TBytes OldPictures = Filled(40000, 5), NewPictures = Filled(41000, 6);
    auto Catalogue = std::make_shared<TUpdateCatalogue>();
    Catalogue->setNewVersion(PICTURE_FILE, NewPictures);
    Catalogue->addOldVersion(PICTURE_FILE, OldPictures);
    // The usual answer comes from a plan that answers by account.
    TPlan ByAccount =
        AccountLoginPlan({{1, "pw", {{"Aldric", "Pellarune", LOOPBACK, 0}}, 0}}, Server.gamePort());
    Server.setPlan(TRole::Login, UpdatePlan(Catalogue, ByAccount, MAX_DOWNLOAD_BLOCK));

    // the patch comes a message per frame: its start, then its blocks in order
    std::vector<TBytes> Frames = LoginAnswer(Server.loginPort(), 1, 2, DataFileSignature(OldPictures));
    const TBytes Patch = MakePatch(OldPictures, NewPictures);
    ASSERT_GE(Frames.size(), 2u);
    EXPECT_EQ(Frames[0], PatchStartMessage(PICTURE_FILE, static_cast<uint32_t>(Patch.size())));
    TBytes Received;
    for (size_t k = 1; k < Frames.size(); k++) {
        ASSERT_EQ(Frames[k][0], 32);
        Received.insert(Received.end(), Frames[k].begin() + 3, Frames[k].end());
    }
    EXPECT_EQ(Received, Patch);

    // a client with the new pictures gets the message of the day and the characters
    Frames = LoginAnswer(Server.loginPort(), 1, 2, DataFileSignature(NewPictures));
    ASSERT_EQ(Frames.size(), 2u);
    EXPECT_EQ(Frames[0][0], 20);
    EXPECT_EQ(Frames[1][0], 100);
    EXPECT_TRUE(Server.received().Errors.empty());
}

TEST(DownloadServer, AHeldDownloadGoesOnOnlyOnceTheTestReleasesIt) {
    TTestServer Server;
    const TBytes Pictures = Filled(3000, 4);
    auto Catalogue = std::make_shared<TUpdateCatalogue>();
    Catalogue->setNewVersion(PICTURE_FILE, Pictures);
    auto AfterStart = std::make_shared<THold>();
    Catalogue->hold(PICTURE_FILE, AfterStart);
    TPlan Plan = UpdatePlan(Catalogue, DefaultLoginPlan(Server.gamePort()), 1000);
    // A plan's hold past the end of the answer holds the close.
    auto AtEnd = std::make_shared<THold>();
    const auto Respond = Plan.Respond;
    Plan.Respond = [&](const TLoginRecord& Login) {
        TResponse Response = Respond(Login);
        Response.Holds[Response.Answer.size()] = AtEnd;
        return Response;
    };
    Server.setPlan(TRole::Login, Plan);

    const testclient::TLoginFields Login = LoginFields(1, 2, 3);
    testclient::TConnection Client(Server.loginPort());
    ASSERT_TRUE(Client.send(testclient::LoginServerFrame(Login)));
    EXPECT_EQ(Client.readFrame(Login.Key), FileStartMessage(PICTURE_FILE, 3000));
    // A held session sends nothing, so that a short look cannot fail the check.
    EXPECT_TRUE(Client.read(1, 100ms).empty()) << "sent past its hold";
    AfterStart->release();
    const std::span<const uint8_t> Blocks(Pictures);
    EXPECT_EQ(Client.readFrame(Login.Key), DownloadBlockMessage(Blocks.first(1000)));
    EXPECT_EQ(Client.readFrame(Login.Key), DownloadBlockMessage(Blocks.subspan(1000, 1000)));
    EXPECT_EQ(Client.readFrame(Login.Key), DownloadBlockMessage(Blocks.subspan(2000)));
    EXPECT_EQ(Client.readToEnd(100ms), std::nullopt) << "closed past its hold";
    AtEnd->release();
    EXPECT_EQ(Client.readToEnd(), TBytes{});

    // a hold inside one frame: a fault of the plan, which the session records
    TPlan OneFrame = DefaultLoginPlan(Server.gamePort());
    OneFrame.Holds[1] = std::make_shared<THold>();
    Server.setPlan(TRole::Login, OneFrame);
    EXPECT_TRUE(LoginAnswer(Server.loginPort(), 1, 2, 3).empty());
    ASSERT_EQ(Server.received().Errors.size(), 1u);
    EXPECT_NE(Server.received().Errors[0].find("a hold inside one frame"), std::string::npos);
}
