# cmake -DCMARK=cmark-gfm -DSOURCE=page.md -DOUTPUT=page.html [-DGUIDE_HOME=index.html]
#       -P RenderGuidePage.cmake
# Turns one Markdown page of the guide into a whole HTML page: links to other
# pages (.md) point at their .html, and links to the lessons' folder point at
# the lessons' notes where they are installed beside the guide. GUIDE_HOME, when
# given, is the link back to the guide's first page.
execute_process(COMMAND ${CMARK} --extension table --to html ${SOURCE}
  OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark-gfm could not read ${SOURCE}")
endif()

string(REPLACE "href=\"../examples/" "href=\"../../../korvel/examples/" body "${body}")
string(REGEX REPLACE "href=\"([^\":#]+)\\.md([#\"])" "href=\"\\1.html\\2" body "${body}")

string(REGEX MATCH "<h1>(.*)</h1>" heading "${body}")
string(REGEX REPLACE "<[^>]*>" "" title "${CMAKE_MATCH_1}")

set(back "")
if(GUIDE_HOME)
  set(back "<p class=\"voltar\"><a href=\"${GUIDE_HOME}\">Guia do Korvel</a></p>\n")
endif()

file(WRITE ${OUTPUT} "<!DOCTYPE html>
<html lang=\"pt-BR\">
<head>
<meta charset=\"utf-8\">
<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">
<title>${title}</title>
<style>
body { font-family: sans-serif; line-height: 1.45; max-width: 50em; margin: 1em auto; padding: 0 1em; }
img { max-width: 100%; height: auto; border: 1px solid #ccc; }
table { border-collapse: collapse; }
th, td { border: 1px solid #bbb; padding: 0.25em 0.5em; text-align: left; vertical-align: top; }
pre { background: #f4f4f4; padding: 0.5em; overflow-x: auto; }
.voltar { font-size: 0.9em; }
</style>
</head>
<body>
${back}${body}</body>
</html>
")
