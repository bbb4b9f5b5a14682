// Path bytes to and from Qt: URLs that reach the right file whatever the
// bytes, item data that keeps them, and type lookups by name.

#include "gui/QtBytes.h"
#include "GuiTestSupport.h"
#include "support/IsolatedHome.h"

#include <QtTest>

using namespace Qt::Literals::StringLiterals;

class QtBytesTest : public QObject {
    Q_OBJECT

private slots:
    void fileUrlsCarryTheBytesPercentEncoded() {
        struct Case {
            const char* path;
            const char* encoded;
        };
        const Case cases[] = {
            {"/", "file:///"},
            {"/tmp/x y/caf\xe9 #1.txt", "file:///tmp/x%20y/caf%E9%20%231.txt"},
            {"/a?b/100%/c;d", "file:///a%3Fb/100%25/c%3Bd"},
            {"/\xc3\xa9t\xc3\xa9", "file:///%C3%A9t%C3%A9"},
        };
        for (const Case& c : cases)
            QCOMPARE(FileUrl(c.path).toEncoded(QUrl::FullyEncoded), QByteArray(c.encoded));
        // Characters that end a path in a URL stay part of the file's name.
        QCOMPARE(FileUrl("/a?b/100%/c#d").toLocalFile(), u"/a?b/100%/c#d"_s);
        QCOMPARE(FileUrl("/\xc3\xa9t\xc3\xa9").toLocalFile(), u"/\u00e9t\u00e9"_s);
    }

    void itemDataKeepsTheBytesAndDisplayTextDecodesThem() {
        const std::string odd("/d/caf\xe9\x01 x", 12);
        QCOMPARE(PathOf(PathData(odd)), odd);
        QCOMPARE(PathOf(PathData(std::string_view("a\0b", 3))), std::string("a\0b", 3));
        QCOMPARE(DisplayText("/d/\xc3\xa9t\xc3\xa9"), u"/d/\u00e9t\u00e9"_s);
        QCOMPARE(PathBytes(u"/d/\u00e9t\u00e9"_s), std::string("/d/\xc3\xa9t\xc3\xa9"));
        QVERIFY(!DisplayText(odd).isEmpty());
        QCOMPARE(Utf8Text("\"ext1 ext2\" !"), u"\"ext1 ext2\" !"_s);
    }

    void typesComeFromTheNameAndIconsFallBack() {
        QCOMPARE(MimeTypeOfName("photo.jpg").name(), u"image/jpeg"_s);
        QCOMPARE(MimeTypeOfName("x.JPG").name(), u"image/jpeg"_s);
        // Not read: a file of that name need not exist.
        QCOMPARE(MimeTypeOfName("/nowhere/notes.txt").name(), u"text/plain"_s);
        QVERIFY(MimeTypeOfName("data.nosuchtype").isDefault());
        QVERIFY(MimeTypeOfName("x.\xff\xfe").isDefault());

        QPixmap red(16, 16);
        red.fill(Qt::red);
        const QIcon fallback(red);
        QCOMPARE(MimeIcon(QMimeType(), fallback).cacheKey(), fallback.cacheKey());
        QVERIFY(MimeIcon(QMimeType()).isNull());
    }
};

PARADREX_QTEST_MAIN(QtBytesTest)
#include "QtBytesTest.moc"
