// The translations in translations/ against the texts marked in the code:
// lupdate is run over src/ as scripts/update-translations.sh runs it, and a
// text without its finished English translation, or a translation whose text
// is gone, fails here with the texts named.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <algorithm>
#include <regex>
#include <set>
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
        if (m.state == "vanished" || m.state == "obsolete")
            gone.push_back(m.context + ": " + m.source);
    }
    EXPECT_TRUE(untranslated.empty())
        << untranslated.size()
        << " texts without an English translation, the first: " << untranslated.front()
        << "\n(scripts/update-translations.sh, then translate them)";
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
        const bool ascii =
            std::all_of(m.source.begin(), m.source.end(), [](unsigned char c) { return c < 0x80; });
        const bool hasWords = std::any_of(m.source.begin(), m.source.end(),
                                          [](unsigned char c) { return c >= 'a' && c <= 'z'; });
        if (!ascii || !hasWords) continue;
        ++english;
        if (m.state == "unfinished") missing.push_back(m.context + ": " + m.source);
    }
    EXPECT_GE(english, 4);  // "Unable to Open File. ", the picture dialogs' titles, ...
    EXPECT_TRUE(missing.empty()) << missing.size()
                                 << " without Japanese, the first: " << missing.front();
}

// A Japanese text written into the code without marking it for translation
// never reaches lupdate: the test above would not see it. Every literal with
// Japanese characters must be (part of) a text of the .ts file, but for the
// few that are the same in every language or never shown.
std::string unescaped(const std::string& literal) {
    std::string out;
    for (size_t i = 0; i < literal.size(); ++i) {
        if (literal[i] != '\\' || i + 1 >= literal.size()) {
            out += literal[i];
            continue;
        }
        const char c = literal[++i];
        if (c == 'n')
            out += '\n';
        else if (c == 'r')
            out += '\r';
        else if (c == 't')
            out += '\t';
        else if (c == 'u' && i + 4 < literal.size()) {
            const unsigned code = std::stoul(literal.substr(i + 1, 4), nullptr, 16);
            out += QString(QChar(char16_t(code))).toStdString();
            i += 4;
        } else {
            out += c;
        }
    }
    return out;
}

TEST(Translations, EveryJapaneseTextOfTheCodeIsMarked) {
    std::string known;  // every source text, \1-separated
    for (const Message& m : readTs(kSources + QStringLiteral("/translations/quillfen_en.ts")))
        known += m.source + '\1';
    // Same in every language, or never shown to the user.
    const std::set<std::string> sameEverywhere{"言語 / Language", "自動 / Automatic", "日本語"};
    // The fit report as the files hold it (the page translates its headings),
    // and the names of undo steps, kept in the history only.
    const auto exempt = [](const QString& file, const std::string& line) {
        return file.endsWith(QLatin1String("src/fit/report.cpp")) ||
               line.find("commitEdit(") != std::string::npos ||
               line.find("->edit(\"") != std::string::npos;
    };
    std::vector<std::string> unmarked;
    QDirIterator it(kSources + QStringLiteral("/src"),
                    {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    const std::regex literal(R"re("((?:[^"\\\n]|\\.)*)")re");
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        int n = 0;
        for (const QByteArray& raw : f.readAll().split('\n')) {
            ++n;
            std::string line = raw.toStdString();
            const size_t comment = line.find("//");
            if (comment != std::string::npos && line.find('"') > comment) continue;
            if (exempt(file, line)) continue;
            for (std::sregex_iterator m(line.begin(), line.end(), literal), end; m != end; ++m) {
                std::string text = unescaped((*m)[1].str());
                // The reader above drops the CRs lupdate writes as <byte>.
                std::erase(text, '\r');
                const QString q = QString::fromStdString(text);
                const bool japanese = std::any_of(q.begin(), q.end(), [](QChar c) {
                    return (c.unicode() >= 0x3000 && c.unicode() <= 0x9FFF) ||
                           (c.unicode() >= 0xFF00 && c.unicode() <= 0xFFEF);
                });
                if (!japanese || sameEverywhere.count(text)) continue;
                if (known.find(text) == std::string::npos)
                    unmarked.push_back(file.mid(kSources.size() + 1).toStdString() + ":" +
                                       std::to_string(n) + ": " + text);
            }
        }
    }
    EXPECT_TRUE(unmarked.empty()) << unmarked.size()
                                  << " texts not marked for translation, the first: "
                                  << unmarked.front();
}

}  // namespace
