// The window's small pieces: twips, dialog filters, paths, read-only files, icons.

#include <QDialogButtonBox>
#include <QFile>
#include <QPushButton>
#include <QImage>
#include <QPainter>
#include <QTest>
#include <set>

#include "gui/name_filters.h"
#include "gui/qt_step_host.h"
#include "gui/toolbar_table.h"
#include "gui/twips.h"
#include "support/test_files.h"
#include "testing/gui_tests.h"

namespace qorvel::gui::testing {
namespace {

class UnitsTest final : public QObject {
    Q_OBJECT

private slots:
    void QtsOwnButtonsSpeakChinese() {
        // The translations the program installs; offscreen the locale is whatever the machine has.
        QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Yes |
                                 QDialogButtonBox::No | QDialogButtonBox::Open | QDialogButtonBox::Save);
        QCOMPARE(buttons.button(QDialogButtonBox::Ok)->text(), QString("确定"));
        QCOMPARE(buttons.button(QDialogButtonBox::Cancel)->text(), QString("取消"));
        QVERIFY(buttons.button(QDialogButtonBox::Yes)->text().startsWith("是"));
        QVERIFY(buttons.button(QDialogButtonBox::No)->text().startsWith("否"));
        QVERIFY(buttons.button(QDialogButtonBox::Open)->text().startsWith("打开"));
        QVERIFY(buttons.button(QDialogButtonBox::Save)->text().startsWith("保存"));
    }

    void TwipsBecomePixelsAtTheScreensDpi() {
        QCOMPARE(TwipsToPixels(15, 96), 1);
        QCOMPARE(TwipsToPixels(12600, 96), 840);
        QCOMPARE(TwipsToPixels(1000, 96), 67);  // 66.67
        QCOMPARE(TwipsToPixels(660, 96), 44);
        QCOMPARE(TwipsToPixels(7, 96), 0);      // 0.47
        QCOMPARE(TwipsToPixels(8, 96), 1);      // 0.53
        QCOMPARE(TwipsToPixels(12600, 144), 1260);
        QCOMPARE(TwipsToPixels(1000, 120), 83);  // 83.33
        QCOMPARE(TwipScale(96).Rect(780, 120, 1500, 360), QRect(52, 8, 100, 24));
    }

    void DialogFiltersInQtsForm() {
        // The steps' own filters already show their pattern.
        QCOMPARE(ToQtNameFilters("保存_中桩数据dat文件(*.dat)|*.dat"), QStringList{"保存_中桩数据dat文件(*.dat)"});
        QCOMPARE(ToQtNameFilters("DXF图形文件|*.dxf;*.DXF"), QStringList{"DXF图形文件 (*.dxf *.DXF)"});
        QCOMPARE(ToQtNameFilters("图形(*.dxf;*.DXF)|*.dxf;*.DXF"), QStringList{"图形(*.dxf;*.DXF)"});
        // A description whose parentheses say something else keeps them and gets the pattern.
        QCOMPARE(ToQtNameFilters("说明(*.txt)|*.dat"), QStringList{"说明(*.txt) (*.dat)"});
        QCOMPARE(ToQtNameFilters("数据(*.dat)|*.dat|全部文件|*.*"),
                 (QStringList{"数据(*.dat)", "全部文件 (*.*)"}));
        // Entries without a pattern offer every file.
        QCOMPARE(ToQtNameFilters("文本|"), QStringList{"文本 (*)"});
        QCOMPARE(ToQtNameFilters(""), QStringList{"(*)"});
    }

    void PathsTravelInTheFileSystemsEncoding() {
        const QString path = QStringLiteral("/tmp/断面 成果.dat");
        QCOMPARE(ToFileSystemPath(path), std::string("/tmp/\xE6\x96\xAD\xE9\x9D\xA2 \xE6\x88\x90\xE6\x9E\x9C.dat"));
        QCOMPARE(FromFileSystemPath(ToFileSystemPath(path)), path);
    }

    void ReadOnlyFilesAreRecognisedByTheirPermissions() {
        const qorvel::testing::TempDir dir;
        const QString file = QString::fromStdString(dir.Write("a.dat", "1\r\n"));
        QVERIFY(!IsReadOnlyFile(file));
        QVERIFY(QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
        QVERIFY(IsReadOnlyFile(file));  // also when the tests run as root
        QVERIFY(!IsReadOnlyFile(QString::fromStdString(dir.File("missing.dat"))));
        QVERIFY(!IsReadOnlyFile(QString::fromStdString(dir.path())));
        QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void EveryToolbarIconIsDrawnAndDistinct() {
        std::vector<const ToolbarEntry*> entries{&ExpandEntry(), &ShrinkEntry()};
        for (const ToolbarEntry& entry : Toolbar1Entries()) entries.push_back(&entry);
        std::set<QByteArray> images;
        for (const ToolbarEntry* entry : entries) {
            QImage image(24, 24, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            PaintedIcon(entry->icon).paint(&painter, image.rect());
            painter.end();
            int inked = 0;
            for (int y = 0; y < 24; ++y)
                for (int x = 0; x < 24; ++x) inked += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
            QVERIFY2(inked > 20, entry->key.data());
            images.insert(QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
        }
        QCOMPARE(images.size(), entries.size());
    }
};

}  // namespace

std::unique_ptr<QObject> MakeUnitsTest() { return std::make_unique<UnitsTest>(); }

}  // namespace qorvel::gui::testing

#include "units_test.moc"
