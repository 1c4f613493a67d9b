// --json of scan, show and edid, read back as a script would and held against what the
// simulated controllers hold.
#include "EdidDecoder.h"
#include "KztrctlProgram.h"

#include <QJsonArray>
#include <QRegularExpression>
#include <gtest/gtest.h>

using kztr::test::RunResult;
using kztr::test::SimController;

namespace {

constexpr uint8_t kNoId = 0xFF;

class KztrctlJsonTest : public kztr::test::KztrctlProgramTest {
protected:
    void SetUp() override {
        kztr::sim::ControllerConfig third = SimController(3, 2, 'C', 17);
        third.edidFlags = 0x1A;
        third.productName = "WALL LEFT";
        ASSERT_NO_FATAL_FAILURE(
            StartWith({third, SimController(5, 1, 'D', 19), SimController(6, kNoId, 'H', 3)}));
    }
};

// The plain scan line the JSON entry stands for.
QString lineOf(const QJsonObject& c) {
    const QJsonValue id = c["boxId"];
    return QStringLiteral("COM%1  box ID %2  model %3  %4  firmware %5")
        .arg(c["com"].toInt())
        .arg(id.isNull() ? QStringLiteral("none") : QString::number(id.toInt()))
        .arg(c["model"].toString(), c["modelName"].toString())
        .arg(c["firmware"].toInt());
}

QString hex2(int byte) {
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0')).toUpper();
}

TEST_F(KztrctlJsonTest, ScanListsWhatTheControllersReport) {
    // A port that exists but is no terminal: a note, in the JSON and on stderr.
    QFile notAPort(PortDir() + "/COM7");
    ASSERT_TRUE(notAPort.open(QIODevice::WriteOnly));
    notAPort.close();

    const RunResult r = Run({"scan", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = r.Json();
    const QJsonArray controllers = doc["controllers"].toArray();
    ASSERT_EQ(controllers.size(), 3);
    for (const QJsonValue& each : controllers) {
        const QJsonObject c = each.toObject();
        const std::optional<kztr::sim::ControllerState> state = sim.state(c["com"].toInt());
        ASSERT_TRUE(state) << lineOf(c).toStdString();
        const RZ8Full& held = state->config;
        if (held.box_id == kNoId)
            EXPECT_TRUE(c["boxId"].isNull());
        else
            EXPECT_EQ(c["boxId"].toInt(-1), held.box_id);
        EXPECT_EQ(c["model"].toString(), QString(QChar(held.model)));
        EXPECT_EQ(c["firmware"].toInt(-1), held.fw_ver);
    }
    // Same controllers, same order, same words as the plain scan.
    const RunResult plain = Run({"scan"});
    QStringList lines;
    for (const QJsonValue& each : controllers)
        lines << lineOf(each.toObject());
    EXPECT_EQ(lines, plain.out);

    const QJsonArray notes = doc["notes"].toArray();
    ASSERT_EQ(notes.size(), 1);
    EXPECT_TRUE(notes[0].toString().startsWith("COM7: cannot open the port"));
    EXPECT_TRUE(r.err.contains(notes[0].toString()));
    EXPECT_EQ(CommandFrames(), 0u);
}

TEST_F(KztrctlJsonTest, ShowGivesTheFieldsAsSetTakesThem) {
    const RunResult set =
        Run({"set", "--com", "5", "mode=7", "vr=75", "hblank=300", "ho=20", "hsw=30", "vblank=40",
             "vo=5", "vsw=6", "hpol=-", "vpol=+", "depth=10", "audio=on", "edid=v1.3"});
    ASSERT_EQ(set.exitCode, 0) << set.err.toStdString();

    const RunResult r = Run({"show", "--com", "5", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = r.Json();
    EXPECT_EQ(doc["com"].toInt(), 5);
    EXPECT_EQ(doc["boxId"].toInt(), 1);
    EXPECT_EQ(doc["model"].toString(), "D");
    EXPECT_EQ(doc["firmware"].toInt(), 19);
    EXPECT_FALSE(doc.contains("userPixels")); // only on the user-defined position

    const RZ8Full held = sim.state(5)->config;
    const QJsonObject config = doc["config"].toObject();
    EXPECT_EQ(config.size(), 13);
    EXPECT_EQ(config["mode"].toInt(-1), held.hRZ8Data.I_output_mode);
    EXPECT_EQ(config["vr"].toInt(), held.VRHz());
    EXPECT_EQ(config["hblank"].toInt(), held.iHLimit());
    EXPECT_EQ(config["ho"].toInt(), held.hRZ8Data.HO);
    EXPECT_EQ(config["hsw"].toInt(), held.hRZ8Data.HSW);
    EXPECT_EQ(config["vblank"].toInt(), held.hRZ8Data.iVLimit);
    EXPECT_EQ(config["vo"].toInt(), held.hRZ8Data.VO);
    EXPECT_EQ(config["vsw"].toInt(), held.hRZ8Data.VSW);
    EXPECT_EQ(config["hpol"].toString(), held.hp() ? "+" : "-");
    EXPECT_EQ(config["vpol"].toString(), held.vp() ? "+" : "-");
    EXPECT_EQ(config["depth"].toString(), held.color_10bit() ? "10" : "8");
    EXPECT_EQ(config["audio"].toString(), held.audiobit() ? "on" : "off");
    const QStringList versions = {"v1.1", "v1.2", "v1.3", "v2.0"};
    EXPECT_EQ(config["edid"].toString(), versions.value(int(held.DID_Ver())));

    // The resolution is the one plain show names.
    const RunResult plain = Run({"show", "--com", "5"});
    EXPECT_TRUE(plain.out.contains(
        QStringLiteral("resolution  %1 (mode 7)").arg(doc["resolution"].toString())))
        << plain.out.join('\n').toStdString();

    // Every pair, handed to set as it stands, gives another controller the same fields.
    QStringList args = {"set", "--com", "3"};
    for (auto it = config.begin(); it != config.end(); ++it)
        args << it.key() + "=" + it.value().toVariant().toString();
    const RunResult copy = Run(args);
    ASSERT_EQ(copy.exitCode, 0) << copy.err.toStdString();
    const RZ8Full other = sim.state(3)->config;
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&other.hRZ8Data), sizeof other.hRZ8Data),
              QByteArray(reinterpret_cast<const char*>(&held.hRZ8Data), sizeof held.hRZ8Data));
}

TEST_F(KztrctlJsonTest, ShowOnTheUserDefinedPositionGivesItsSize) {
    ASSERT_EQ(Run({"set", "--com", "3", "mode=9"}).exitCode, 0);
    const RunResult r = Run({"show", "--com", "3", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = r.Json();
    const kztr::sim::ControllerState state = *sim.state(3);
    EXPECT_EQ(doc["config"]["mode"].toInt(), 9);
    EXPECT_EQ(doc["userPixels"]["width"].toInt(), state.hPixel);
    EXPECT_EQ(doc["userPixels"]["height"].toInt(), state.vPixel);
    EXPECT_EQ(doc["resolution"].toString(),
              QStringLiteral("%1 * %2").arg(state.hPixel).arg(state.vPixel));
}

TEST_F(KztrctlJsonTest, EdidGivesBytesChecksAndDecoding) {
    const RunResult r = Run({"edid", "--com", "3", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QJsonObject doc = r.Json();
    EXPECT_EQ(doc["com"].toInt(), 3);
    EXPECT_EQ(doc["boxId"].toInt(), 2);

    const QString hex = doc["bytes"].toString();
    ASSERT_TRUE(QRegularExpression("^[0-9A-F]*$").match(hex).hasMatch());
    const QByteArray bytes = QByteArray::fromHex(hex.toLatin1());
    ASSERT_EQ(bytes.size(), 256);
    EXPECT_EQ(doc["length"].toInt(), 256);
    EXPECT_TRUE(bytes.startsWith(QByteArray::fromHex("00FFFFFFFFFFFF00")));
    EXPECT_TRUE(doc["headerOk"].toBool());

    // The checksums as the plain report gives them, and each block really sums to 0.
    const RunResult plain = Run({"edid", "--com", "3"});
    for (const char* name : {"checksum0", "checksum1"}) {
        const QJsonObject sum = doc["checksums"][QLatin1String(name)].toObject();
        const QString line =
            QStringLiteral("%1      expected %2, read %3: ok")
                .arg(QLatin1String(name), hex2(sum["expected"].toInt()), hex2(sum["read"].toInt()));
        EXPECT_TRUE(plain.out.contains(line)) << line.toStdString();
        EXPECT_TRUE(sum["ok"].toBool()) << name;
    }
    for (int block : {0, 128}) {
        int total = 0;
        for (int i = block; i < block + 128; ++i)
            total += uint8_t(bytes[i]);
        EXPECT_EQ(total % 256, 0) << "block at " << block;
    }
    EXPECT_FALSE(doc["checksums"].toObject().contains("checksumdid"));

    EXPECT_EQ(doc["syncPolarity"]["byte"].toInt(), 71);
    EXPECT_EQ(doc["syncPolarity"]["value"].toInt(), 0x1A);
    EXPECT_EQ(uint8_t(bytes[71]), 0x1A);
    EXPECT_EQ(doc["syncPolarity"]["text"].toString(), "H/V Polarity:+/-");

    const QJsonObject decoded = doc["decoded"].toObject();
    EXPECT_EQ(decoded,
              EdidToJson(DecodeEdid(reinterpret_cast<const uint8_t*>(bytes.constData()), 256)));
    EXPECT_EQ(decoded["monitorName"].toString(), "WALL LEFT");
    EXPECT_EQ(CommandFrames(3), 2u); // one EDID request each run
}

TEST_F(KztrctlJsonTest, FailureLeavesStdoutEmpty) {
    for (const QStringList& args : {QStringList{"show", "--com", "7", "--json"},
                                    QStringList{"edid", "--com", "7", "--json"}}) {
        const RunResult r = Run(args);
        EXPECT_EQ(r.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_TRUE(r.stdoutBytes.isEmpty()) << r.stdoutBytes.toStdString();
        EXPECT_TRUE(r.err.contains("COM7: cannot open the port")) << r.err.toStdString();
    }
}

} // namespace
