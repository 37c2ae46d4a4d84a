#pragma once

// Pages as LibreOffice's HTML export writes them, kept apart: moc does not read raw
// string literals.

namespace {

const char LibreOfficePage[] = R"page(<!DOCTYPE html>
<html>
<head>
	<meta http-equiv="content-type" content="text/html; charset=utf-8"/>
	<title></title>
	<meta name="generator" content="LibreOffice 7.4.7.2 (Linux)"/>
	<meta name="author" content="Alice Author"/>
	<meta name="created" content="2020-01-02T03:04:05"/>
	<meta name="changedby" content="Eddie Editor"/>
	<meta name="changed" content="2021-02-03T04:05:06"/>
	<meta name="Company" content="Acme Company Ltd"/>
	<meta name="description" content="Quarterly figures"/>
	<meta name="keywords" content="sales"/>
	<style type="text/css">
		p { color: #000000; text-align: left; so-language: de-DE }
		a.sdfootnoteanc { font-size: 57% }
	</style>
</head>
<body lang="de-DE" text="#000000" link="#000080" vlink="#800000" dir="ltr">
<ol><li><h1 class="western" align="left">First <i>Heading</i>
Alpha</h1>
</ol>
<p class="western" align="center" style="line-height: 100%"><font color="#ff0000"><font size="4" style="font-size: 14pt">Centered
red bravo.</font></font></p>
<p align="justify">Fields: page <span style="background: #c0c0c0"><sdfield type=PAGE subtype=RANDOM format=PAGE>7</sdfield></span>,
date <sdfield type=DATETIME sdnum="1033;1031;M.T.JJ">12.7.26</sdfield> echo<a class="sdfootnoteanc" name="sdfootnote1anc" href="#sdfootnote1sym"><sup>1</sup></a>.</p>
<ol>
	<ol>
		<li><h2 class="western" align="left">Second Heading</h2>
	</ol>
</ol>
<ul type="square"><p>Loose paragraph</p><li>Bullet india</li></ul>
<center>
	<table width="454" cellpadding="4" cellspacing="0" border="1" bgcolor="#eeeeee">
		<col width="148"/>
		<tr valign="top">
			<td width="148" bgcolor="#ccffcc" height="20" style="border: 1px solid #000000"><p>Cell quebec</p></td>
			<td sdval="3" sdnum="1031;" nowrap>Cell romeo</td>
		</tr>
	</table>
</center>
<p>A<img src="picture.png" name="RedPicture" alt="Red square" align="left" width="151" height="113" hspace="12" border="0">
  <br clear="left"/>
</img>fter <img src="picture.png" name="Blue" align="bottom" width="10%" height="76" border="2"/> victor</p>
<p><strike>struck</strike> <tt>typed</tt> <big>big</big> <nobr>kept together</nobr> <blink>blinking</blink></p>
<p>Comment anchor<!-- Secret comment text --></p>
<hr align="left" width="50%" size="3" noshade>
<pre>
indented
  code</pre>
<script>alert("document script")</script>
<p onclick="steal()"><a href="javascript:steal()">not a link</a></p>
<div id="sdfootnote1"><p class="sdfootnote-western"><a class="sdfootnotesym" name="sdfootnote1sym" href="#sdfootnote1anc">1</a>Footnote
	body golf.</p>
</div>
</body>
</html>
)page";

} // namespace
