# Writes a topic-block workbook other than the built-in sample, with openpyxl: sheets "+1" and
# "+2"; on "+1" a topic index in column A and topic blocks (the word, the text 0 beside it, a
# title row and data rows) further down, in Chinese and English, one with a recent-codes note.
#   topic_block_book.py OUT.xlsx
import sys

from openpyxl import Workbook
from openpyxl.comments import Comment

BLOCKS = [
    (20, "会议记录", [("日期", "主题", "人数"), ("2024-03-01", "预算 budget", 6), ("2024-03-08", "招聘", 4),
                      ("2024-03-15", "Review", 9)]),
    (30, "Garden", [("植物", "Plant", "Water"), ("玫瑰", "Rose", 3), ("薄荷", "Mint", 7), ("仙人掌", "Cactus", 1),
                    ("银杏", "Ginkgo", 2)]),
    (42, "乐器", [("名称", "Name", "Years"), ("古筝", "Guzheng", 12), ("钢琴", "Piano", 3)]),
    (50, "身份证号", [("'11010519491231002X",), ("'440524188001010014",)]),
]

book = Workbook()
sheet = book.active
sheet.title = "+1"
book.create_sheet("+2")
for i, (_, word, _) in enumerate(BLOCKS):
    sheet.cell(row=i + 1, column=1, value=word)
for row, word, rows in BLOCKS:
    sheet.cell(row=row, column=1, value=word)
    sheet.cell(row=row, column=2, value="0").number_format = "@"
    for r, values in enumerate(rows, start=row + 1):
        for c, value in enumerate(values, start=2):
            if isinstance(value, str) and value.startswith("'"):
                cell = sheet.cell(row=r, column=c, value=value[1:])
                cell.number_format = "@"
            else:
                sheet.cell(row=r, column=c, value=value)
sheet.cell(row=30, column=2).comment = Comment("*19 主题词列表\r\n\r\n", "Tezlo")
book.save(sys.argv[1])
