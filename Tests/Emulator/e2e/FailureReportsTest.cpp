// Failures kvemu meets while it runs are told, with a status that is not 0: a script that is a
// folder, an event log that cannot be written, a registry that cannot be saved (told when the
// save fails, tried again at exit).
#include <device/RegistryFile.h>
#include <gmock/gmock.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "KvemuRun.h"

namespace {

using ::testing::HasSubstr;

using FailureReports = KvemuTest;

TEST_F(FailureReports, ScriptThatIsAFolderAndLogThatCannotBeWrittenAreRefused) {
    std::filesystem::create_directories(file("scripts"));
    std::string command = std::string("'") + KVEMU_PATH + "' --headless --device '" +
                          device().string() + "' --script '" + file("scripts").string() + "' 2> '" +
                          file("folder-errors").string() + "'";
    int raw = std::system(command.c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
    EXPECT_THAT(
        slurp(file("folder-errors")),
        HasSubstr("cannot read the script " + file("scripts").string() + ": it is a folder"));

    KvemuResult result = run("print-text\n", "--log '" + file("scripts").string() + "'");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.errors, HasSubstr("cannot write the event log " + file("scripts").string()));
    result = run("print-text\n", "--log '" + file("no/such/folder/events.log").string() + "'");
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.errors, HasSubstr("cannot write the event log"));
    // A log that can be written works as before.
    result = run("print-text\n", "--log '" + file("events.log").string() + "'");
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(slurp(file("events.log")), HasSubstr(" process notes.exe"));
}

class RegistrySaveFailure : public KvemuTest {
protected:
    void SetUp() override {
        KvemuTest::SetUp();
        ASSERT_EQ(run("print-text\n").status, 0);
        // The next start has something to write (the owner's details, lost with the record
        // of provisioning), and its saves cannot put their temporary file where it goes.
        ASSERT_TRUE(device::loadRegistryFile(registry()));
        ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, u"ControlPanel\\Owner"), ERROR_SUCCESS);
        ASSERT_TRUE(device::saveRegistryFile(registry()));
        device::resetRegistry();
        std::filesystem::remove(device() / "provisioned");
        std::filesystem::create_directories(obstacle() / "inside");
    }
    std::filesystem::path registry() const { return device() / "registry.reg"; }
    std::filesystem::path obstacle() const { return device() / "registry.reg.tmp"; }
};

TEST_F(RegistrySaveFailure, IsToldAtOnceAndTheChangeIsSavedAtExitWhenItCanBe) {
    KvemuProcess kvemu(device(), file("out"), file("errors"));
    // The device is up and running the script (its first line answered), and the failed save
    // was told before that.
    kvemu.send("print-sip\n");
    for (int i = 0; i < 600 && slurp(file("out")).find("sip ") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    ASSERT_THAT(slurp(file("out")), HasSubstr("sip "));
    const std::string told = slurp(file("errors"));
    EXPECT_THAT(told, HasSubstr("cannot save the device's registry (the change is kept in memory"));
    EXPECT_THAT(told, HasSubstr(obstacle().string()));
    EXPECT_EQ(slurp(registry()).find("ControlPanel\\Owner"), std::string::npos);

    // The way cleared while it runs, the change is saved when kvemu ends.
    std::filesystem::remove_all(obstacle());
    kvemu.send("print-text\n");
    EXPECT_EQ(kvemu.finish(), 0) << slurp(file("errors"));
    EXPECT_THAT(slurp(file("errors")),
                HasSubstr("the device's registry is saved after all, with its last changes"));
    EXPECT_THAT(slurp(registry()), HasSubstr("[HKEY_CURRENT_USER\\ControlPanel\\Owner]"));
}

TEST_F(RegistrySaveFailure, ThatLastsToTheEndIsAnErrorWithStatusThree) {
    KvemuResult result = run("print-text\n");
    EXPECT_EQ(result.status, 3);
    EXPECT_THAT(result.errors, HasSubstr("cannot save the device's registry"));
    EXPECT_THAT(result.errors,
                HasSubstr("the device's registry could not be saved: its last changes are lost"));
    // The file kvemu started from is whole, and the next start that can save does.
    EXPECT_TRUE(device::loadRegistryFile(registry()));
    device::resetRegistry();
    std::filesystem::remove_all(obstacle());
    std::filesystem::remove(device() / "provisioned");
    result = run("print-text\n");
    EXPECT_EQ(result.status, 0) << result.errors;
    EXPECT_THAT(slurp(registry()), HasSubstr("[HKEY_CURRENT_USER\\ControlPanel\\Owner]"));
}

}  // namespace
