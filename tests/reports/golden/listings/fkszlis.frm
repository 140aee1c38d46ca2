<?xml version="1.0" encoding="ISO-8859-1" ?>
<root>
   <layout-master-set>
   <simple-page-master
     page-master-name="PAGE0"
     page-height="380MM"
     page-width="210MM">
</simple-page-master>
</layout-master-set>
<page-sequence>
<sequence-specification-single page-master-name="PAGE0">
<flow section-name="xsl-body">
<block ID="WHeader1" top="0" left="0" width="645" height="80" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="4" left="8" width="200" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
[WFCegnev]
</inline-sequence>
</block>
<block  top="4" left="520" width="40" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Oldal:
</inline-sequence>
</block>
<block  top="4" left="562" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[PageNo]
</inline-sequence>
</block>
<block  top="24" left="150" width="320" height="20" border-width="0">
<inline-sequence font-family="Arial" font-size="12" font-wight="bold"  text-align="center">
K O N T Í R S Z Á M O S     L I S T A 
</inline-sequence>
</block>
<block  top="44" left="400" width="212" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Számviteli törvény szerint
</inline-sequence>
</block>
<block  top="62" left="8" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Leltári sz.
</inline-sequence>
</block>
<block  top="62" left="60" width="150" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Megnevezés
</inline-sequence>
</block>
<block  top="62" left="212" width="62" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Beszerzés
</inline-sequence>
</block>
<block  top="62" left="276" width="30" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Menny.
</inline-sequence>
</block>
<block  top="62" left="308" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Bruttó érték
</inline-sequence>
</block>
<block  top="62" left="398" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Écs
</inline-sequence>
</block>
<block  top="62" left="488" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
Nettó érték
</inline-sequence>
</block>
<block  top="62" left="580" width="40" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
Kontírsz.
</inline-sequence>
</block>
</block>
<block ID="WDetail1" top="80" left="0" width="645" height="18" minspace="0" border-width="0">
<block  top="1" left="8" width="50" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField1]
</inline-sequence>
</block>
<block  top="1" left="60" width="150" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField2]
</inline-sequence>
</block>
<block  top="1" left="212" width="62" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField3]
</inline-sequence>
</block>
<block  top="1" left="276" width="30" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField4]
</inline-sequence>
</block>
<block  top="1" left="308" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField5]
</inline-sequence>
</block>
<block  top="1" left="398" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField6]
</inline-sequence>
</block>
<block  top="1" left="488" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="right">
[WField7]
</inline-sequence>
</block>
<block  top="1" left="580" width="40" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" text-align="left">
[WField8]
</inline-sequence>
</block>
</block>
<block ID="WFooter2" top="98" left="0" width="645" height="22" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="3" left="60" width="240" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
Kontírszám összesen:
</inline-sequence>
</block>
<block  top="3" left="308" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WField12]
</inline-sequence>
</block>
<block  top="3" left="398" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WField13]
</inline-sequence>
</block>
<block  top="3" left="488" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WField14]
</inline-sequence>
</block>
</block>
<block ID="WFooter1" top="120" left="0" width="645" height="22" minspace="0" repeatnewpage="TRUE" border-width="0">
<block  top="3" left="60" width="150" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="left">
Összesen:
</inline-sequence>
</block>
<block  top="3" left="308" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WField9]
</inline-sequence>
</block>
<block  top="3" left="398" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WField10]
</inline-sequence>
</block>
<block  top="3" left="488" width="88" height="16" border-width="0">
<inline-sequence font-family="Arial" font-size="8" font-wight="bold"  text-align="right">
[WField11]
</inline-sequence>
</block>
</block>
</flow>
</sequence-specification-single>
</page-sequence>
</root>
