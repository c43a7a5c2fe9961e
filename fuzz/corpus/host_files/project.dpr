[Project]
Name=Demo
MainForm=Form1
