// The translations in translations/ against the texts marked in the code:
// lupdate is run over src/ as scripts/update-translations.sh runs it, and a
// text without its finished English translation, or a translation whose text
// is gone, fails here with the texts named.

#include <gtest/gtest.h>

#include <QFile>
#include <algorithm>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <string>
#include <vector>

namespace {

struct Message {
    std::string context;
    std::string source;
    std::string state;  // "", "unfinished", "vanished", "obsolete"
};

std::vector<Message> readTs(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    std::vector<Message> out;
    QXmlStreamReader xml(&file);
    std::string context;
    Message m;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement()) continue;
        if (xml.name() == u"name") {
            context = xml.readElementText().toStdString();
        } else if (xml.name() == u"message") {
            m = Message{context, {}, {}};
        } else if (xml.name() == u"source") {
            m.source = xml.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
        } else if (xml.name() == u"translation") {
            m.state = xml.attributes().value(QStringLiteral("type")).toString().toStdString();
            out.push_back(m);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return out;
}

QByteArray contents(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QString kSources = QStringLiteral(QF_SOURCE_DIR);

TEST(Translations, EveryTextOfTheCodeHasItsEnglishAndTheFileIsCurrent) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString committed = kSources + QStringLiteral("/translations/quillfen_en.ts");
    const QString fresh = dir.filePath(QStringLiteral("quillfen_en.ts"));
    ASSERT_TRUE(QFile::copy(committed, fresh));
    QFile(fresh).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    // Without -no-obsolete: a translation whose text left the code stays
    // in the file, marked, and is reported below.
    QProcess lupdate;
    lupdate.setProcessChannelMode(QProcess::MergedChannels);
    lupdate.start(QStringLiteral(QF_LUPDATE),
                  {QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                   QStringLiteral("-extensions"), QStringLiteral("cpp,h"),
                   kSources + QStringLiteral("/src"), QStringLiteral("-ts"), fresh});
    ASSERT_TRUE(lupdate.waitForFinished(120000));
    ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAll().toStdString();

    std::vector<std::string> untranslated, gone;
    for (const Message& m : readTs(fresh)) {
        if (m.state == "unfinished") untranslated.push_back(m.context + ": " + m.source);
        if (m.state == "vanished" || m.state == "obsolete") gone.push_back(m.context + ": " + m.source);
    }
    EXPECT_TRUE(untranslated.empty())
        << untranslated.size() << " texts without an English translation, the first: "
        << untranslated.front() << "\n(scripts/update-translations.sh, then translate them)";
    EXPECT_TRUE(gone.empty()) << gone.size() << " translations of texts no longer in the code, "
                              << "the first: " << gone.front()
                              << "\n(scripts/update-translations.sh drops them)";
    if (untranslated.empty() && gone.empty()) {
        EXPECT_EQ(contents(fresh), contents(committed))
            << "translations/quillfen_en.ts is not as lupdate writes it: "
               "run scripts/update-translations.sh";
    }
}

// The Japanese window shows Japanese where the code's own text is English
// (dialog titles, filters, the messages kept from the original program).
TEST(Translations, JapaneseGivesTheEnglishTextsOfTheProgramTheirJapanese) {
    std::vector<std::string> missing;
    int english = 0;
    for (const Message& m : readTs(kSources + QStringLiteral("/translations/quillfen_ja.ts"))) {
        if (m.context.rfind("qf::", 0) != 0) continue;  // Qt's own: qtbase_ja has them
        const bool ascii = std::all_of(m.source.begin(), m.source.end(),
                                       [](unsigned char c) { return c < 0x80; });
        const bool hasWords = std::any_of(m.source.begin(), m.source.end(),
                                          [](unsigned char c) { return c >= 'a' && c <= 'z'; });
        if (!ascii || !hasWords) continue;
        ++english;
        if (m.state == "unfinished") missing.push_back(m.context + ": " + m.source);
    }
    EXPECT_GE(english, 4);  // "Unable to Open File. ", the picture dialogs' titles, ...
    EXPECT_TRUE(missing.empty()) << missing.size() << " without Japanese, the first: "
                                 << missing.front();
}

}  // namespace
