// The title editor: character codes, the four-part title send with its echo
// chain, the merge of received parts into CName, and the title position.

#include "pages/titleeditor.h"
#include "support/fixture.h"
#include "ui/controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <vector>

using namespace h7q8;
using namespace h7q8::test;

namespace {

using Codes = std::vector<std::uint8_t>;

// The command bytes 1..14 of the title part `part` carrying `codes` (10 bytes).
QByteArray partCommand(int part, const Codes &codes)
{
    QByteArray c;
    c.append(char(0x21));
    c.append(char(0x10));
    c.append(char(0x01));
    c.append(char(part));
    for (std::uint8_t b : codes)
        c.append(char(b));
    return c;
}

const Codes FIVE_SPACES = {0x00, 0xFD, 0x00, 0xFD, 0x00, 0xFD, 0x00, 0xFD, 0x00, 0xFD};

} // namespace

class TestTitleEditor : public QObject
{
    Q_OBJECT

    std::unique_ptr<Tool> tool;
    QLineEdit *name = nullptr;
    QComboBox *position = nullptr;
    QPushButton *set = nullptr;
    TitleEditor *editor = nullptr;

    // A tool with its Easy load done and the line's record empty.
    void start()
    {
        tool = std::make_unique<Tool>();
        tool->finishLoad();
        tool->line->clearWrites();
        name = tool->ctl<QLineEdit>("CName");
        position = tool->ctl<QComboBox>("Ctitlepos");
        set = tool->ctl<QPushButton>("SetTitle");
        editor = tool->window->findChild<TitleEditor *>(QStringLiteral("TitleEditor"));
        QVERIFY(name && position && set && editor);
        QVERIFY(ownEnabled(set));
    }

    // Puts a reply into the frame store as the link would, without running the
    // dispatch, so the editor's own part can be driven alone.
    void storeReply(const Codes &replyBytes)
    {
        auto &r = tool->link().store().reply;
        r.fill(0);
        r[0] = 0x02;
        for (std::size_t k = 0; k < replyBytes.size(); ++k)
            r[k + 1] = replyBytes[k];
        r[16] = 0x03;
    }

    // The camera's echo of the last command sent: reply byte 4 = part, 5..14 the codes.
    Codes echoOfLastCommand()
    {
        Codes data;
        for (int k = 4; k <= 14; ++k)
            data.push_back(tool->link().store().cmd(k));
        return data;
    }

    void typeTitle(const QString &text)
    {
        name->clear();
        QTest::keyClicks(name, text);
        QCOMPARE(name->text(), text);
    }

private slots:
    void init() { start(); }
    void cleanup() { tool.reset(); }

    void controlsAsBuilt()
    {
        QCOMPARE(name->maxLength(), 20);
        QCOMPARE(position->count(), 2);
        QCOMPARE(position->itemText(0), QStringLiteral("Up"));
        QCOMPARE(position->itemText(1), QStringLiteral("Down"));
        QCOMPARE(set->text(), QStringLiteral("Set"));
    }

    void typingSendsNothing()
    {
        typeTitle(QStringLiteral("Camera 1"));
        QVERIFY(tool->line->writes.isEmpty());
    }

    void characterCodes_data()
    {
        QTest::addColumn<QString>("character");
        QTest::addColumn<int>("code");
        QTest::newRow("a") << QStringLiteral("a") << 0x010A;
        QTest::newRow("z") << QStringLiteral("z") << 0x0123;
        QTest::newRow("A") << QStringLiteral("A") << 0x000A;
        QTest::newRow("Z") << QStringLiteral("Z") << 0x0023;
        QTest::newRow("0") << QStringLiteral("0") << 0x0000;
        QTest::newRow("9") << QStringLiteral("9") << 0x0009;
        QTest::newRow("space") << QStringLiteral(" ") << 0x00FD;
        QTest::newRow("#") << QStringLiteral("#") << 0x00FD;
        QTest::newRow("~") << QStringLiteral("~") << 0x00FD;
        QTest::newRow("double quote") << QStringLiteral("\"") << 0x0073;
        QTest::newRow("apostrophe") << QStringLiteral("'") << 0x0072;
        QTest::newRow("(") << QStringLiteral("(") << 0x005E;
        QTest::newRow(")") << QStringLiteral(")") << 0x005F;
        QTest::newRow("*") << QStringLiteral("*") << 0x0065;
        QTest::newRow(",") << QStringLiteral(",") << 0x0074;
        QTest::newRow("-") << QStringLiteral("-") << 0x0069;
        QTest::newRow(".") << QStringLiteral(".") << 0x0075;
        QTest::newRow("/") << QStringLiteral("/") << 0x0029;
        QTest::newRow(":") << QStringLiteral(":") << 0x007B;
        QTest::newRow(";") << QStringLiteral(";") << 0x007A;
        QTest::newRow("<") << QStringLiteral("<") << 0x0060;
        QTest::newRow(">") << QStringLiteral(">") << 0x0061;
        QTest::newRow("[") << QStringLiteral("[") << 0x0062;
        QTest::newRow("]") << QStringLiteral("]") << 0x0063;
        QTest::newRow("{") << QStringLiteral("{") << 0x0054;
        QTest::newRow("}") << QStringLiteral("}") << 0x0055;
        // Bytes 0xA1 and 0xA2 are the half-width katakana full stop and opening bracket.
        QTest::newRow("byte 0xA1") << QString(QChar(0xFF61)) << 0x0056;
        QTest::newRow("byte 0xA2") << QString(QChar(0xFF62)) << 0x0057;
        QTest::newRow("byte 0xB1, no code") << QString(QChar(0xFF71)) << 0x00FD;
        QTest::newRow("e acute, outside the code page") << QString(QChar(0x00E9)) << 0x00FD;
        QTest::newRow("kanji, outside the code page") << QString(QChar(0x6F22)) << 0x00FD;
    }
    void characterCodes()
    {
        QFETCH(QString, character);
        QFETCH(int, code);
        // The character at position 3, between two known ones.
        name->setText(QStringLiteral("AB") + character + QStringLiteral("Z"));
        QTest::mouseClick(set, Qt::LeftButton);
        const Codes expected = {0x00, 0x0A, 0x00, 0x0B, std::uint8_t(code >> 8),
                                std::uint8_t(code & 0xFF), 0x00, 0x23, 0x00, 0xFD};
        QCOMPARE(tool->line->commands(14), QList<QByteArray>{partCommand(0, expected)});
    }

    void tableEntries()
    {
        // Every byte without a listed character has no code; 81 bytes have one.
        int withCode = 0;
        for (int b = 0; b < 256; ++b)
            if (TitleEditor::TitleCharTable(std::uint8_t(b)) != 0xFFFF)
                ++withCode;
        QCOMPARE(withCode, 10 + 26 + 26 + 1 + 1 + 1 + 2 + 1 + 1 + 1 + 1 + 1 + 2 + 2 + 2 + 2 + 2);
        QCOMPARE(TitleEditor::TitleCharTable(0x00), std::uint16_t(0xFFFF));
        QCOMPARE(TitleEditor::TitleCharTable(0x23), std::uint16_t(0xFFFF));
        QCOMPARE(TitleEditor::TitleCharTable(0xA1), std::uint16_t(0x0056));
        QCOMPARE(TitleEditor::TitleCharTable(0xA2), std::uint16_t(0x0057));
        QCOMPARE(TitleEditor::TitleCharTable(0xA3), std::uint16_t(0xFFFF));
        QCOMPARE(TitleEditor::TitleCharTable(0xFF), std::uint16_t(0xFFFF));
    }

    // One click sends four parts, each after the echo of the one before.
    void sendChainAB()
    {
        typeTitle(QStringLiteral("AB"));
        QTest::mouseClick(set, Qt::LeftButton);
        QVERIFY(!ownEnabled(set));
        QList<QByteArray> expected{partCommand(
            0, {0x00, 0x0A, 0x00, 0x0B, 0x00, 0xFD, 0x00, 0xFD, 0x00, 0xFD})};
        QCOMPARE(tool->line->commands(14), expected);
        for (int part = 0; part < 4; ++part) {
            storeReply([&] {
                Codes r{0xA0, 0x10, 0x01};
                for (auto b : echoOfLastCommand())
                    r.push_back(b);
                return r;
            }());
            editor->TitleEcho();
            if (part < 3) {
                expected.append(partCommand(part + 1, FIVE_SPACES));
                QVERIFY(!ownEnabled(set));
            }
            QCOMPARE(tool->line->commands(14), expected);
        }
        QVERIFY(ownEnabled(set));
        QCOMPARE(name->text(), QStringLiteral("AB") + QString(18, QLatin1Char(' ')));
        QCOMPARE(name->text().size(), 20);
    }

    // The part sent next is built from CName as it stands when the echo arrives.
    void laterPartsFollowTheCurrentText()
    {
        typeTitle(QStringLiteral("ABCDEFGHIJ"));
        QTest::mouseClick(set, Qt::LeftButton);
        Codes echo = echoOfLastCommand();
        name->setText(QStringLiteral("ABCDEab"));
        storeReply({0xA0, 0x10, 0x01, echo[0], echo[1], echo[2], echo[3], echo[4], echo[5],
                    echo[6], echo[7], echo[8], echo[9], echo[10]});
        editor->TitleEcho();
        // The merge of part 0 rewrites positions 1..5 and pads; part 1 is then "ab   ".
        QCOMPARE(name->text(), QStringLiteral("ABCDEab") + QString(13, QLatin1Char(' ')));
        QCOMPARE(tool->line->commands(14).last(),
                 partCommand(1, {0x01, 0x0A, 0x01, 0x0B, 0x00, 0xFD, 0x00, 0xFD, 0x00, 0xFD}));
    }

    void refusedFollowUpStopsTheChain()
    {
        typeTitle(QStringLiteral("AB"));
        QTest::mouseClick(set, Qt::LeftButton);
        tool->seq().SendSuppressed = true;
        storeReply({0xA0, 0x10, 0x01, 0x00, 0x00, 0x0A, 0x00, 0x0B, 0x00, 0xFD, 0x00, 0xFD, 0x00,
                    0xFD});
        editor->TitleEcho();
        QCOMPARE(tool->line->commands(14).size(), 1);
        QVERIFY(!ownEnabled(set));
        QCOMPARE(name->text(), QStringLiteral("AB") + QString(18, QLatin1Char(' ')));
    }

    void clickRefusedSendsNothing()
    {
        tool->seq().SendSuppressed = true;
        QTest::mouseClick(set, Qt::LeftButton);
        QVERIFY(tool->line->writes.isEmpty());
        QVERIFY(ownEnabled(set));
    }

    // Only the echo of a title part write carries the chain on.
    void echoAfterOtherCommandOnlyMerges()
    {
        name->setText(QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        // The last command is the Easy load's final read.
        QCOMPARE(tool->link().store().cmd(1), std::uint8_t(0x31));
        storeReply({0xA0, 0x10, 0x01, 0x00, 0x01, 0x0A, 0x01, 0x0B, 0x01, 0x0C, 0x01, 0x0D, 0x01,
                    0x0E});
        editor->TitleEcho();
        QCOMPARE(name->text(), QStringLiteral("abcdeFGHIJKLMNOPQRST"));
        QVERIFY(tool->line->writes.isEmpty());
    }

    void merge_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("part");
        QTest::addColumn<Codes>("codes");
        QTest::addColumn<QString>("after");
        QTest::newRow("part 1 digits")
            << QStringLiteral("ABCDEFGHIJKLMNOPQRST") << 1
            << Codes{0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04}
            << QStringLiteral("ABCDE01234KLMNOPQRST");
        QTest::newRow("part 0 into empty text, padded")
            << QString() << 0
            << Codes{0x00, 0x0A, 0x01, 0x0A, 0x00, 0x75, 0x00, 0x29, 0x00, 0x63}
            << QStringLiteral("Aa./]") + QString(15, QLatin1Char(' '));
        QTest::newRow("part 3 at the end")
            << QStringLiteral("AB") << 3
            << Codes{0x00, 0x5E, 0x00, 0x5F, 0x00, 0x54, 0x00, 0x55, 0x00, 0x72}
            << QStringLiteral("AB") + QString(13, QLatin1Char(' ')) + QStringLiteral("(){}'");
        QTest::newRow("unknown codes and 0xFFFF show spaces")
            << QStringLiteral("ABCDEFGHIJKLMNOPQRST") << 2
            << Codes{0xFF, 0xFF, 0x00, 0x30, 0x01, 0x00, 0x12, 0x34, 0x00, 0x23}
            << QStringLiteral("ABCDEFGHIJ    ZPQRST");
        QTest::newRow("space code and katakana bytes")
            << QStringLiteral("ABCDEFGHIJKLMNOPQRST") << 0
            << Codes{0x00, 0xFD, 0x00, 0x56, 0x00, 0x57, 0x00, 0x73, 0x00, 0x7B}
            << QStringLiteral(" ") + QChar(0xFF61) + QChar(0xFF62) + QStringLiteral("\":FGHIJKLMNOPQRST");
    }
    void merge()
    {
        QFETCH(QString, before);
        QFETCH(int, part);
        QFETCH(Codes, codes);
        QFETCH(QString, after);
        name->setText(before);
        QTest::mouseClick(set, Qt::LeftButton); // SetTitle disabled, part 0 on the line
        tool->line->clearWrites();
        editor->TitlePartMerge(part, codes.data());
        QCOMPARE(name->text(), after);
        QCOMPARE(ownEnabled(set), part == 3);
        QVERIFY(tool->line->writes.isEmpty());
    }

    // A merged text sent again gives back the same codes.
    void mergedTextRoundTrips()
    {
        const Codes codes{0x01, 0x0A, 0x00, 0x56, 0x00, 0x29, 0x00, 0x09, 0x00, 0x61};
        editor->TitlePartMerge(1, codes.data());
        QTest::mouseClick(set, Qt::LeftButton);
        storeReply([&] {
            Codes r{0xA0, 0x10, 0x01};
            for (auto b : echoOfLastCommand())
                r.push_back(b);
            return r;
        }());
        editor->TitleEcho();
        QCOMPARE(tool->line->commands(14).last(), partCommand(1, codes));
    }

    void partOutsideTheTitleIsIgnored()
    {
        name->setText(QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
        const Codes codes{0x00, 0x00, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04};
        editor->TitlePartMerge(4, codes.data());
        editor->TitlePartMerge(255, codes.data());
        QCOMPARE(name->text(), QStringLiteral("ABCDEFGHIJKLMNOPQRST"));
    }

    void positionSendsItem()
    {
        QCOMPARE(position->currentIndex(), 0);
        position->setCurrentIndex(1);
        position->setCurrentIndex(1); // unchanged: nothing more
        position->setCurrentIndex(0);
        QCOMPARE(tool->line->commands(4),
                 (QList<QByteArray>{Bytes("21 10 03 01"), Bytes("21 10 03 00")}));
    }

    void positionSetDuringLoadSendsNothing()
    {
        tool->window->ReLoadClick();
        tool->line->clearWrites();
        position->setCurrentIndex(1);
        QVERIFY(tool->line->writes.isEmpty());
        QCOMPARE(position->currentIndex(), 1);
    }

    // Through the window's dispatch: the Easy load's status blocks 0 to 3 carry the
    // title and its position; a click then sends the title part by part as the
    // camera echoes each one.
    void endToEndLoadThenSend()
    {
        tool = std::make_unique<Tool>();
        name = tool->ctl<QLineEdit>("CName");
        position = tool->ctl<QComboBox>("Ctitlepos");
        set = tool->ctl<QPushButton>("SetTitle");
        const Codes blocks[4] = {
            {0x00, 0x0C, 0x00, 0x0A, 0x00, 0x16, 0x00, 0x0E, 0x00, 0x1B}, // "CAMER"
            {0x00, 0x0A, 0x00, 0xFD, 0x00, 0x01, 0x00, 0x69, 0x01, 0x0A}, // "A 1-a"
            {0xFF, 0xFF, 0x00, 0x56, 0x00, 0xFD, 0x00, 0xFD, 0x00, 0xFD}, // " ｡   "
            {0x00, 0xFD, 0x00, 0xFD, 0x00, 0xFD, 0x00, 0xFD, 0x00, 0x23}, // "    Z"
        };
        int answered = 0;
        while (tool->seq().TransferStep != 0 && answered < 64) {
            const FrameStore &f = tool->link().store();
            Codes data(11, 0);
            if (f.cmd(1) == 0x31 && f.cmd(2) == 0x60 && f.cmd(3) <= 3) {
                std::copy(blocks[f.cmd(3)].begin(), blocks[f.cmd(3)].end(), data.begin());
                if (f.cmd(3) == 3)
                    data[10] = 0x01; // title position "Down"
            }
            tool->answer({data[0], data[1], data[2], data[3], data[4], data[5], data[6],
                          data[7], data[8], data[9], data[10]});
            ++answered;
        }
        QCOMPARE(tool->seq().TransferStep, 0);
        const QString title = QStringLiteral("CAMERA 1-a ") + QChar(0xFF61)
                              + QStringLiteral("       Z");
        QCOMPARE(name->text(), title);
        QCOMPARE(position->currentIndex(), 1);
        QVERIFY(ownEnabled(set));
        // What the load showed was not sent back: only reads went out.
        for (const QByteArray &c : tool->line->commands(1))
            QCOMPARE(quint8(c.at(0)), quint8(0x31));

        tool->line->clearWrites();
        QTest::mouseClick(set, Qt::LeftButton);
        for (int part = 0; part < 4; ++part) {
            QVERIFY(!ownEnabled(set));
            const Codes echo = echoOfLastCommand();
            tool->answer({echo[0], echo[1], echo[2], echo[3], echo[4], echo[5], echo[6],
                          echo[7], echo[8], echo[9], echo[10]});
        }
        // The title goes back as it was read, but the unknown code now is a space.
        const QList<QByteArray> expected{
            partCommand(0, blocks[0]), partCommand(1, blocks[1]),
            partCommand(2, {0x00, 0xFD, 0x00, 0x56, 0x00, 0xFD, 0x00, 0xFD, 0x00, 0xFD}),
            partCommand(3, blocks[3])};
        QCOMPARE(tool->line->commands(14), expected);
        QVERIFY(ownEnabled(set));
        QCOMPARE(name->text(), title);
        QVERIFY(tool->dialogs.messages.isEmpty());
    }

    // A chain that stopped leaves SetTitle disabled until the next load's block 3.
    void stoppedChainEndsWithNextLoad()
    {
        typeTitle(QStringLiteral("AB"));
        QTest::mouseClick(set, Qt::LeftButton);
        QCOMPARE(tool->line->commands(14).size(), 1);
        tool->window->ReLoadClick();
        tool->line->clearWrites();
        // The echo of part 0 arrives while the load runs: nothing more is sent.
        tool->line->reply({0xA0, 0x10, 0x01, 0x00, 0x00, 0x0A, 0x00, 0x0B, 0x00, 0xFD, 0x00, 0xFD,
                           0x00, 0xFD});
        // The load went on to its next step instead.
        QCOMPARE(tool->line->commands(3), QList<QByteArray>{Bytes("31 60 01")});
        QVERIFY(!ownEnabled(set));
        tool->finishLoad();
        QVERIFY(ownEnabled(set));
    }
};

QTEST_MAIN(TestTitleEditor)
#include "tst_titleeditor.moc"
