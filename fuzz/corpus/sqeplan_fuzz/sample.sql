-- VELDAR sample installation script: the parts catalogue of a small workshop.
-- Plain SQL text. Every batch ends at a GO line, and sqecrypt turns the script
-- into VELDAR.SQE, the encrypted form that VELDAR runs as well.

CREATE TABLE Supplier (
  SupplierId INT NOT NULL PRIMARY KEY,
  Name VARCHAR(60) NOT NULL,
  City VARCHAR(40) NULL
)
GO
CREATE TABLE Part (
  PartId INT NOT NULL PRIMARY KEY,
  SupplierId INT NOT NULL REFERENCES Supplier (SupplierId),
  Title VARCHAR(80) NOT NULL,
  Price DECIMAL(10, 2) NOT NULL
)
GO
-- The suppliers
INSERT INTO Supplier (SupplierId, Name, City)
SELECT 1, 'North Mill', 'Leeds' UNION ALL
SELECT 2, 'Harbour Tools', 'Bristol' UNION ALL
SELECT 3, 'Fenwick and Sons', NULL
GO
-- Their parts
INSERT INTO Part (PartId, SupplierId, Title, Price)
SELECT 101, 1, 'Oak dowel 8 mm', 0.35 UNION ALL
SELECT 102, 1, 'Elm board 20 x 200', 12.80 UNION ALL
SELECT 201, 2, 'Chisel 12 mm', 18.50 UNION ALL
SELECT 202, 2, 'Mallet', 22.00 UNION ALL
SELECT 301, 3, 'Wood glue 500 ml', 6.25 UNION ALL
SELECT 302, 3, 'Sandpaper P120', 0.90
GO
CREATE VIEW PartList AS
SELECT p.PartId, p.Title, s.Name AS Supplier, p.Price
FROM Part p JOIN Supplier s ON s.SupplierId = p.SupplierId
GO
-- Tools from Bristol cost a tenth more from now on.
UPDATE Part SET Price = Price * 1.1 WHERE SupplierId = 2
GO
