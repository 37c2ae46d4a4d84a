#pragma once

// The texts of the documents the LibreOffice tests make: kept apart, as moc does not
// read raw string literals.

#include <QByteArray>
#include <QString>

namespace {

// A text document whose Basic macro runs on load and leaves a marker file.
QByteArray autoRunDocument(const QString& markerPath)
{
    return QByteArray(R"(<?xml version="1.0" encoding="UTF-8"?>
<office:document xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:script="urn:oasis:names:tc:opendocument:xmlns:script:1.0" xmlns:ooo="http://openoffice.org/2004/office" xmlns:xlink="http://www.w3.org/1999/xlink" xmlns:dom="http://www.w3.org/2001/xml-events" office:version="1.3" office:mimetype="application/vnd.oasis.opendocument.text">
 <office:scripts>
  <office:script script:language="ooo:Basic"><ooo:libraries><ooo:library-embedded ooo:name="Standard">
   <ooo:module ooo:name="AutoRun"><ooo:source-code>Sub Main
  n = FreeFile
  Open ")") + markerPath.toUtf8() + R"(" For Output As #n
  Print #n, "ran"
  Close #n
End Sub
</ooo:source-code></ooo:module>
  </ooo:library-embedded></ooo:libraries></office:script>
  <office:event-listeners>
   <script:event-listener script:language="ooo:script" script:event-name="dom:load" xlink:href="vnd.sun.star.script:Standard.AutoRun.Main?language=Basic&amp;location=document" xlink:type="simple"/>
  </office:event-listeners>
 </office:scripts>
 <office:body><office:text><text:p>Macro document text</text:p></office:text></office:body>
</office:document>
)";
}

// Stores the sample as .doc, .docm and a password-protected .doc in one LibreOffice run.
const char PrepareModule[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE script:module PUBLIC "-//OpenOffice.org//DTD OfficeDocument 1.0//EN" "module.dtd">
<script:module xmlns:script="http://openoffice.org/2000/script" script:name="Module1" script:language="StarBasic">
Sub Prepare(source As String, docTarget As String, docmTarget As String, protectedTarget As String)
  Dim args(0) As New com.sun.star.beans.PropertyValue
  args(0).Name = &quot;Hidden&quot; : args(0).Value = True
  doc = StarDesktop.loadComponentFromURL(source, &quot;_blank&quot;, 0, args())
  Dim one(0) As New com.sun.star.beans.PropertyValue
  one(0).Name = &quot;FilterName&quot; : one(0).Value = &quot;MS Word 97&quot;
  doc.storeToURL(docTarget, one())
  one(0).Value = &quot;MS Word 2007 XML VBA&quot;
  doc.storeToURL(docmTarget, one())
  Dim two(1) As New com.sun.star.beans.PropertyValue
  two(0).Name = &quot;FilterName&quot; : two(0).Value = &quot;MS Word 97&quot;
  two(1).Name = &quot;Password&quot; : two(1).Value = &quot;secret&quot;
  doc.storeToURL(protectedTarget, two())
  doc.close(True)
End Sub
</script:module>
)";

} // namespace
